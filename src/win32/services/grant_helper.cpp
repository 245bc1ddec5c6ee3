#include "grant_helper.h"

#include <sddl.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "ntdll.h"
#include "texts.h"

namespace kelvaro {

namespace {

// The rights that Windows checks for each of the launcher's own changes, and
// no more. Every open for a change that completes before its call returns
// asks SYNCHRONIZE as well.
// A rename or a deletion opens what it moves or deletes for DELETE.
constexpr DWORD kMovedOrDeleted = DELETE | SYNCHRONIZE;
// A renamed folder (Data\INI\ and Data\xINIx\) is added to its folder anew.
constexpr DWORD kFolderAdded = FILE_ADD_SUBDIRECTORY | SYNCHRONIZE;
// A renamed file (the game's script and its backup) is added to its folder
// anew, and so is the copy of a tier's script where none is.
constexpr DWORD kFileAdded = FILE_ADD_FILE | SYNCHRONIZE;
// That copy, made after the grant in Data\Scripts\, inherits this: the game
// reads it, the next press copies over it or moves it aside, "Quit" deletes
// it; as a CREATOR OWNER entry would let its maker, where a folder has none.
constexpr DWORD kCopiedIn = FILE_GENERIC_READ | FILE_GENERIC_WRITE | DELETE;

// What the launcher changes, each below the folder before it that holds it.
struct Rule {
    std::string_view path;
    Rights rights;
};
constexpr Rule kRules[] = {
    {texts::kDataFolder, {kFolderAdded}},         {texts::kIniFolder, {kMovedOrDeleted}},
    {texts::kHiddenIniFolder, {kMovedOrDeleted}}, {texts::kScriptsFolder, {kFileAdded, kCopiedIn}},
    {texts::kGameScript, {kMovedOrDeleted}},      {texts::kScriptBackup, {kMovedOrDeleted}},
};

std::wstring Wide(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

// A full path of a folder on a drive letter ("C:\…\"), each name in it a
// plain one. Never a share or a device ("\\server\…", "\\?\…", "\\.\…"),
// where the raised helper would act as the approving administrator, nor a
// folder relative to a drive's own current one ("C:Games\"), nor "." or "..",
// nor a drive that is a share mapped to a letter.
std::optional<std::wstring> LocalFolder(const char* text) {
    const int size = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (size <= 1) return std::nullopt;
    std::wstring folder(size, L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, folder.data(), size);
    folder.pop_back();
    const wchar_t drive = folder[0] | 0x20;  // in lower case, where it is a letter
    if (folder.size() < 3 || drive < L'a' || drive > L'z' || folder.compare(1, 2, L":\\") != 0 ||
        !folder.ends_with(L'\\')) {
        return std::nullopt;
    }
    for (size_t start = 3, end = 0; start < folder.size(); start = end + 1) {
        end = folder.find(L'\\', start);
        const std::wstring_view name(folder.data() + start, end - start);
        if (name.empty() || name == L"." || name == L".." ||
            name.find_first_of(L"<>:\"/|?*") != std::wstring_view::npos ||
            std::ranges::any_of(name, [](wchar_t c) { return c < L' '; })) {
            return std::nullopt;
        }
    }
    const UINT type = GetDriveTypeW(folder.substr(0, 3).c_str());
    if (type == DRIVE_REMOTE || type == DRIVE_NO_ROOT_DIR || type == DRIVE_UNKNOWN) {
        return std::nullopt;
    }
    return folder;
}

bool IsUserAccount(PSID sid) {
    char name[256], domain[256];
    DWORD nameSize = sizeof name, domainSize = sizeof domain;
    SID_NAME_USE use = SidTypeUnknown;
    return LookupAccountSidA(nullptr, sid, name, &nameSize, domain, &domainSize, &use) &&
           use == SidTypeUser;
}

// A user account's SID, spelled as the launcher spells one ("S-1-5-21-…"):
// no alias ("LA" and "LG" are the built-in Administrator and Guest), nor any
// other spelling that Windows would read as a SID.
DWORD CheckUser(const char* text, LocalMemory<PSID>* user) {
    LocalMemory<char*> spelled;
    if (!ConvertStringSidToSidA(text, user->receive())) return ERROR_INVALID_SID;
    if (!ConvertSidToStringSidA(user->get(), spelled.receive())) return GetLastError();
    if (std::string_view(text) != spelled.get()) return ERROR_INVALID_SID;
    return IsUserAccount(user->get()) ? ERROR_SUCCESS : ERROR_NO_SUCH_USER;
}

// Whether the object held by `object` is what the grant may check or change:
// a folder or a file as `folder` says, no reparse point, and, where its DACL
// is `written`, with no name but this one (a hard link to it elsewhere would
// take the grant there; a folder has none).
// `path` is asked as well: Wine opens a host's symbolic link to a folder as
// the folder, and tells the link only by its name.
DWORD CheckObject(HANDLE object, const std::wstring& path, bool folder, bool written) {
    BY_HANDLE_FILE_INFORMATION information = {};
    if (!GetFileInformationByHandle(object, &information)) return GetLastError();
    const DWORD byPath = GetFileAttributesW(path.c_str());
    if (byPath == INVALID_FILE_ATTRIBUTES) return GetLastError();
    if (((information.dwFileAttributes | byPath) & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return kReparsePointEncountered;
    }
    if (((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder) {
        return ERROR_DIRECTORY;
    }
    return written && information.nNumberOfLinks > 1 ? ERROR_TOO_MANY_LINKS : ERROR_SUCCESS;
}

// "Data\INI\" gives its folder "Data\" and its name "INI"; "Data\" gives "".
std::pair<std::string_view, std::string_view> Split(std::string_view path) {
    const std::string_view trimmed = path.substr(0, path.size() - (path.ends_with('\\') ? 1 : 0));
    const size_t cut = trimmed.find_last_of('\\') + 1;  // 0 where there is none
    return {path.substr(0, cut), trimmed.substr(cut)};
}

// Opens `path` (below the game folder) inside its folder, held by `parent`:
// the object itself, where it is a reparse point too. It stays open until the
// helper ends, and can be neither renamed nor deleted meanwhile: the open
// shares no deletion, and asks to read the object's contents, without which
// Windows keeps no share mode for it at all. ERROR_FILE_NOT_FOUND where
// there is nothing under that name.
DWORD OpenInside(HANDLE parent, const std::wstring& gameFolder, std::string_view path,
                 ACCESS_MASK access, ScopedHandle* opened) {
    const std::wstring name = Wide(Split(path).second);
    UNICODE_STRING text;
    text.Buffer = const_cast<PWSTR>(name.c_str());
    text.Length = text.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, parent, nullptr);
    IO_STATUS_BLOCK status;
    const NTSTATUS opening =
        NtOpenFile(opened->receive(), access | FILE_READ_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                   &attributes, &status, FILE_SHARE_READ | FILE_SHARE_WRITE,
                   FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT);
    if (!NT_SUCCESS(opening)) return RtlNtStatusToDosError(opening);
    const std::wstring whole = gameFolder + Wide(path);
    return CheckObject(opened->get(),
                       whole.substr(0, whole.size() - (path.ends_with('\\') ? 1 : 0)),
                       path.ends_with('\\'), (access & WRITE_DAC) != 0);
}

// The folder that holds `path`, open already, or null where it is missing.
HANDLE Holder(const GrantTargets& targets, std::string_view path) {
    const std::string_view folder = Split(path).first;
    if (folder.empty()) return targets.gameFolder.get();
    for (const GrantTarget& target : targets.objects) {
        if (target.path == folder) return target.handle.get();
    }
    return nullptr;
}

// The game folder opened by its path, the link itself where it is one (so
// without its closing backslash, but for a drive's root), then its program.
DWORD OpenGameFolder(const std::wstring& gameFolder, GrantTargets* targets) {
    const std::wstring folder = gameFolder.substr(0, std::max<size_t>(3, gameFolder.size() - 1));
    *targets->gameFolder.receive() =
        CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (!targets->gameFolder.valid()) return GetLastError();
    const DWORD error = CheckObject(targets->gameFolder.get(), folder, true, false);
    if (error != ERROR_SUCCESS) return error;
    const DWORD program = OpenInside(targets->gameFolder.get(), gameFolder, texts::kGameProgram, 0,
                                     &targets->gameProgram);
    return program == ERROR_DIRECTORY ? ERROR_FILE_NOT_FOUND : program;
}

// Whether one allowing entry of `acl` lets `user` do `rights`: on the object
// itself, or, for `toNewFiles`, to the files created in it later.
bool Allows(PACL acl, PSID user, DWORD rights, bool toNewFiles) {
    GENERIC_MAPPING fileRights = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                                  FILE_ALL_ACCESS};
    for (DWORD index = 0; index < acl->AceCount; ++index) {
        ACCESS_ALLOWED_ACE* entry = nullptr;
        if (!GetAce(acl, index, reinterpret_cast<void**>(&entry))) return false;
        const BYTE flags = entry->Header.AceFlags;
        const bool reaches =
            toNewFiles ? (flags & OBJECT_INHERIT_ACE) != 0 : (flags & INHERIT_ONLY_ACE) == 0;
        DWORD allowed = entry->Mask;
        MapGenericMask(&allowed, &fileRights);
        if (entry->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && reaches &&
            (allowed & rights) == rights && EqualSid(&entry->SidStart, user)) {
            return true;
        }
    }
    return false;
}

// The object's DACL with the grant, written through the handle that was
// checked. SetKernelObjectSecurity writes that one object's security
// descriptor as it is given and walks nothing below it, where SetSecurityInfo
// and SetNamedSecurityInfo carry inheritable entries into everything in a
// folder ("Automatic Propagation of Inheritable ACEs"). Whether the DACL is
// protected from inheritance, and marked as inheriting, stays as it was.
DWORD Grant(const GrantTarget& target, PSID user) {
    std::vector<BYTE> current;
    DWORD size = 0;
    while (!GetKernelObjectSecurity(target.handle.get(), DACL_SECURITY_INFORMATION, current.data(),
                                    static_cast<DWORD>(current.size()), &size)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return GetLastError();
        current.resize(size);
    }
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!GetSecurityDescriptorDacl(current.data(), &present, &dacl, &defaulted) ||
        !GetSecurityDescriptorControl(current.data(), &control, &revision)) {
        return GetLastError();
    }
    std::vector<BYTE> granted;
    const DWORD error = DaclWithGrant(present ? dacl : nullptr, user, target.rights, &granted);
    if (error != ERROR_SUCCESS || granted.empty()) return error;
    constexpr SECURITY_DESCRIPTOR_CONTROL kKept = SE_DACL_PROTECTED | SE_DACL_AUTO_INHERITED;
    SECURITY_DESCRIPTOR descriptor;
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor, TRUE, reinterpret_cast<PACL>(granted.data()),
                                   FALSE) ||
        !SetSecurityDescriptorControl(&descriptor, kKept, control & kKept) ||
        !SetKernelObjectSecurity(target.handle.get(), DACL_SECURITY_INFORMATION, &descriptor)) {
        return GetLastError();
    }
    return ERROR_SUCCESS;
}

}  // namespace

DWORD OpenGrantTargets(const std::wstring& gameFolder, GrantTargets* targets) {
    DWORD error = OpenGameFolder(gameFolder, targets);
    for (const Rule& rule : kRules) {
        if (error != ERROR_SUCCESS) return error;
        const HANDLE holder = Holder(*targets, rule.path);
        if (holder == nullptr) continue;  // its folder is missing
        GrantTarget target{std::string(rule.path), rule.rights, {}};
        error = OpenInside(holder, gameFolder, rule.path, READ_CONTROL | WRITE_DAC, &target.handle);
        if (error == ERROR_SUCCESS) targets->objects.push_back(std::move(target));
        // The launcher changes only what is there; but every game has a Data folder.
        if (error == ERROR_FILE_NOT_FOUND)
            error = rule.path == texts::kDataFolder ? ERROR_PATH_NOT_FOUND : ERROR_SUCCESS;
    }
    return error;
}

DWORD DaclWithGrant(PACL existing, PSID user, Rights rights, std::vector<BYTE>* granted) {
    granted->clear();
    if (existing == nullptr) return ERROR_SUCCESS;
    struct Entry {
        DWORD rights;
        BYTE flags;
    };
    std::vector<Entry> missing;
    if (rights.own != 0 && !Allows(existing, user, rights.own, false))
        missing.push_back({rights.own, 0});
    if (rights.newFiles != 0 && !Allows(existing, user, rights.newFiles, true))
        missing.push_back({rights.newFiles, OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE});
    if (missing.empty()) return ERROR_SUCCESS;

    const BYTE revision = existing->AclRevision;
    const DWORD entrySize = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(user);
    std::vector<BYTE> built(existing->AclSize + missing.size() * entrySize);
    const auto acl = reinterpret_cast<PACL>(built.data());
    if (!InitializeAcl(acl, static_cast<DWORD>(built.size()), revision)) return GetLastError();
    // The object's own entries come before the inherited ones, which Windows
    // weighs after them: the new ones go last among its own.
    bool added = false;
    const auto addMissing = [&] {
        added = true;
        for (const Entry& entry : missing) {
            if (!AddAccessAllowedAceEx(acl, revision, entry.flags, entry.rights, user))
                return false;
        }
        return true;
    };
    for (DWORD index = 0; index < existing->AceCount; ++index) {
        ACE_HEADER* entry = nullptr;
        if (!GetAce(existing, index, reinterpret_cast<void**>(&entry))) return GetLastError();
        if (!added && (entry->AceFlags & INHERITED_ACE) != 0 && !addMissing())
            return GetLastError();
        if (!AddAce(acl, revision, MAXDWORD, entry, entry->AceSize)) return GetLastError();
    }
    if (!added && !addMissing()) return GetLastError();
    *granted = std::move(built);
    return ERROR_SUCCESS;
}

DWORD RunGrantHelper(int argc, char** argv) {
    if (argc != 4) return ERROR_BAD_ARGUMENTS;
    const std::optional<std::wstring> gameFolder = LocalFolder(argv[2]);
    if (!gameFolder) return ERROR_BAD_PATHNAME;
    LocalMemory<PSID> user;
    DWORD error = CheckUser(argv[3], &user);
    GrantTargets targets;
    if (error == ERROR_SUCCESS) error = OpenGrantTargets(*gameFolder, &targets);
    for (const GrantTarget& target : targets.objects) {
        if (error == ERROR_SUCCESS) error = Grant(target, user.get());
    }
    return error;
}

}  // namespace kelvaro
