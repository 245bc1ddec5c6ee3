#include "grant_helper.h"

#include <aclapi.h>
#include <sddl.h>

#include <string>

#include "texts.h"

namespace kelvaro {

namespace {

constexpr BYTE kWholeTree = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

// A full path of a folder, on a drive ("C:\…\") or a share ("\\server\…\"):
// a relative one would be taken from wherever Windows started the helper.
bool IsFullFolderPath(const std::string& folder) {
    const bool drive = folder.size() >= 3 && folder[1] == ':' && folder[2] == '\\';
    const bool share = folder.starts_with("\\\\");
    return (drive || share) && folder.ends_with('\\');
}

bool IsUserAccount(PSID sid) {
    char name[256], domain[256];
    DWORD nameSize = sizeof name, domainSize = sizeof domain;
    SID_NAME_USE use = SidTypeUnknown;
    return LookupAccountSidA(nullptr, sid, name, &nameSize, domain, &domainSize, &use) &&
           use == SidTypeUser;
}

// Holds a handle until the end of its scope.
class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

// A folder opened so that it cannot be renamed, moved or deleted while the
// handle is open (no FILE_SHARE_DELETE); Windows then refuses to rename any
// folder above it either, since something inside is open. `flags` may ask
// for a reparse point to be opened itself rather than followed.
HANDLE OpenFolder(const std::string& path, DWORD access, DWORD flags = 0) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

// What stops the grant on the folder behind `data`, opened from `path`: not
// a folder, or a junction, symbolic link or other reparse point that leads
// elsewhere. Asked of the handle, and of the path too, where Wine tells a
// host's symbolic link as a reparse point.
DWORD CheckRealFolder(HANDLE data, const std::string& path) {
    BY_HANDLE_FILE_INFORMATION information = {};
    if (!GetFileInformationByHandle(data, &information)) return GetLastError();
    const DWORD byPath = GetFileAttributesA(path.c_str());
    if (byPath == INVALID_FILE_ATTRIBUTES) return GetLastError();
    if (((information.dwFileAttributes | byPath) & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return kReparsePointEncountered;
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return ERROR_DIRECTORY;
    return ERROR_SUCCESS;
}

bool IsNormalFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Whether `acl` holds an entry of its own (not inherited) that allows `user`
// kModifyRights for the folder and everything in it.
bool Grants(PACL acl, PSID user) {
    for (DWORD index = 0; index < acl->AceCount; ++index) {
        ACCESS_ALLOWED_ACE* entry = nullptr;
        if (!GetAce(acl, index, reinterpret_cast<void**>(&entry))) return false;
        const ACE_HEADER& header = entry->Header;
        if (header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            (header.AceFlags & (INHERITED_ACE | INHERIT_ONLY_ACE)) == 0 &&
            (header.AceFlags & kWholeTree) == kWholeTree &&
            (entry->Mask & kModifyRights) == kModifyRights &&
            EqualSid(reinterpret_cast<PSID>(&entry->SidStart), user)) {
            return true;
        }
    }
    return false;
}

// The folder's DACL with the grant, set through the handle that was checked.
// SetSecurityInfo applies an inheritable entry to what the folder holds now
// ("Automatic Propagation of Inheritable ACEs"). Whether the DACL inherits
// from the game folder stays as it was.
DWORD GrantThrough(HANDLE data, PSID user) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    DWORD error = GetSecurityInfo(data, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                  &dacl, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) return error;
    PACL granted = nullptr;
    error = DaclWithGrant(dacl, user, &granted);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (error == ERROR_SUCCESS && granted != nullptr &&
        GetSecurityDescriptorControl(descriptor, &control, &revision)) {
        const SECURITY_INFORMATION what =
            DACL_SECURITY_INFORMATION |
            ((control & SE_DACL_PROTECTED) != 0 ? PROTECTED_DACL_SECURITY_INFORMATION
                                                : UNPROTECTED_DACL_SECURITY_INFORMATION);
        error = SetSecurityInfo(data, SE_FILE_OBJECT, what, nullptr, nullptr, granted, nullptr);
    }
    LocalFree(granted);
    LocalFree(descriptor);
    return error;
}

}  // namespace

DWORD DaclWithGrant(PACL existing, PSID user, PACL* granted) {
    *granted = nullptr;
    if (existing == nullptr || Grants(existing, user)) return ERROR_SUCCESS;
    EXPLICIT_ACCESS_A entry = {};
    entry.grfAccessPermissions = kModifyRights;
    entry.grfAccessMode = GRANT_ACCESS;
    entry.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
    entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    entry.Trustee.TrusteeType = TRUSTEE_IS_USER;
    entry.Trustee.ptstrName = static_cast<LPSTR>(user);
    return SetEntriesInAclA(1, &entry, existing, granted);
}

namespace {

// Each check comes before any change: a helper given anything else writes
// nothing. The game folder and its Data folder stay open from their checks
// to the change, so that no other folder can be put in their place meanwhile.
DWORD GrantToUser(const std::string& gameFolder, PSID user) {
    if (!IsUserAccount(user)) return ERROR_NO_SUCH_USER;
    const Handle game(OpenFolder(gameFolder, FILE_READ_ATTRIBUTES));
    if (!game.valid()) return GetLastError();
    if (!IsNormalFile(gameFolder + std::string(texts::kGameProgram))) return ERROR_FILE_NOT_FOUND;
    const std::string dataFolder = gameFolder + std::string(texts::kDataFolder);
    const Handle data(OpenFolder(dataFolder, READ_CONTROL | WRITE_DAC | FILE_READ_ATTRIBUTES,
                                 FILE_FLAG_OPEN_REPARSE_POINT));
    if (!data.valid()) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error;
    }
    const DWORD error = CheckRealFolder(data.get(), dataFolder);
    return error != ERROR_SUCCESS ? error : GrantThrough(data.get(), user);
}

}  // namespace

DWORD RunGrantHelper(int argc, char** argv) {
    if (argc != 4) return ERROR_BAD_ARGUMENTS;
    const std::string gameFolder = argv[2];
    if (!IsFullFolderPath(gameFolder)) return ERROR_BAD_PATHNAME;
    PSID user = nullptr;
    if (!ConvertStringSidToSidA(argv[3], &user)) return ERROR_INVALID_SID;
    const DWORD error = GrantToUser(gameFolder, user);
    LocalFree(user);
    return error;
}

}  // namespace kelvaro
