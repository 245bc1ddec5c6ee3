#include "win_file_system.h"

#include "ntdll.h"
#include "scoped.h"

namespace kelvaro {

namespace {

// Errors that mean "there is nothing under that name", as opposed to a
// look-up that could not be carried out.
bool IsNoSuchEntry(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
            return true;
        default:
            return false;
    }
}

// A read-only file, a hidden or system one (which a copy cannot write over
// either), or a folder: Windows denies every user to write over it or to
// delete it as a file, and no rights would change that.
bool DeniedToAll(const std::string& path, DWORD attributesDenied) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & attributesDenied) != 0;
}

// Whether this user may not open `path` with `access` alone: Windows checks
// the rights as it opens. A file whose deletion is pending is denied to
// every opener with the same error, ERROR_ACCESS_DENIED; Windows' own status
// (STATUS_DELETE_PENDING) tells it apart.
bool RightDenied(const std::string& path, DWORD access) {
    const ScopedHandle opened(
        CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return !opened.valid() && DeniedForWantOfRights(GetLastError(), RtlGetLastNtStatus());
}

// The folder that holds `path`, as a path of its own.
std::string Holder(const std::string& path) {
    const std::string trimmed = path.substr(0, path.find_last_not_of('\\') + 1);
    const size_t separator = trimmed.find_last_of('\\');
    return separator == std::string::npos ? "." : trimmed.substr(0, separator + 1);
}

// Whether this user's rights stopped a rename that Windows denied. A rename
// needs DELETE on its source and the right to add an entry to the folder
// that holds it (MS-FSA 2.1.5.15.11): each is probed as Windows checks it,
// by an open with exactly that access. Access denied has causes that no
// administrator could lift: Windows refuses to rename a folder while a file
// inside is open in another program (a virus scanner, an indexer, an
// editor). Where both opens are allowed, the holder is given its own
// attributes back, a change of nothing: Wine grants every open of a folder
// whatever is asked, and refuses only changes, as to a folder that Linux
// keeps immutable.
bool ShortOfRightsToRename(const std::string& from) {
    const std::string holder = Holder(from);
    const DWORD attributes = GetFileAttributesA(from.c_str());
    const bool folder = from.ends_with('\\') || (attributes != INVALID_FILE_ATTRIBUTES &&
                                                 (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    if (RightDenied(from, DELETE) ||
        RightDenied(holder, folder ? FILE_ADD_SUBDIRECTORY : FILE_ADD_FILE)) {
        return true;
    }
    const DWORD holderAttributes = GetFileAttributesA(holder.c_str());
    return holderAttributes != INVALID_FILE_ATTRIBUTES &&
           !SetFileAttributesA(holder.c_str(), holderAttributes) &&
           GetLastError() == ERROR_ACCESS_DENIED;
}

}  // namespace

bool DeniedForWantOfRights(DWORD error, LONG status) {
    return error == ERROR_ACCESS_DENIED && status != kStatusDeletePending;
}

// Write-protected media (ERROR_WRITE_PROTECT: a locked card, a read-only disc
// image) are no refusal: no administrator may change them either.
Change FailureOf(DWORD error, bool shortOfRights) {
    if (error == ERROR_PRIVILEGE_NOT_HELD) return Change::Refused;
    return error == ERROR_ACCESS_DENIED && shortOfRights ? Change::Refused : Change::Failed;
}

Entry WinFileSystem::Lookup(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return IsNoSuchEntry(GetLastError()) ? Entry::Missing : Entry::Unknown;
    }
    constexpr DWORD kNotANormalFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
    return (attributes & kNotANormalFile) != 0 ? Entry::Other : Entry::NormalFile;
}

Change WinFileSystem::Rename(const std::string& from, const std::string& to) {
    if (MoveFileA(from.c_str(), to.c_str())) return Change::Made;
    const DWORD error = GetLastError();
    return FailureOf(error, error == ERROR_ACCESS_DENIED && ShortOfRightsToRename(from));
}

Change WinFileSystem::Delete(const std::string& path) {
    if (DeleteFileA(path.c_str())) return Change::Made;
    const DWORD error = GetLastError();
    return FailureOf(error,
                     error == ERROR_ACCESS_DENIED &&
                         !DeniedToAll(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY) &&
                         RightDenied(path, DELETE));
}

// CopyFileA also copies the source's attributes. A read-only copy in the
// game's folder could never be deleted again, and the game's own script
// could then never come back from its backup: the copy takes the bytes only.
Change WinFileSystem::Copy(const std::string& from, const std::string& to) {
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
        const DWORD error = GetLastError();
        return FailureOf(error,
                         !DeniedToAll(to, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                              FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY));
    }
    DWORD attributes = GetFileAttributesA(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttributesA(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    return Change::Made;
}

bool WinFileSystem::SameBytes(const std::string& first, const std::string& second) {
    const auto open = [](const std::string& path) {
        return ScopedHandle(CreateFileA(
            path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    };
    const ScopedHandle files[] = {open(first), open(second)};
    LARGE_INTEGER sizes[2] = {};
    if (!files[0].valid() || !files[1].valid() || !GetFileSizeEx(files[0].get(), &sizes[0]) ||
        !GetFileSizeEx(files[1].get(), &sizes[1]) || sizes[0].QuadPart != sizes[1].QuadPart) {
        return false;
    }
    std::string blocks[2] = {std::string(65536, '\0'), std::string(65536, '\0')};
    for (;;) {
        DWORD read[2] = {};
        for (int i : {0, 1}) {
            if (!ReadFile(files[i].get(), blocks[i].data(), 65536, &read[i], nullptr)) return false;
        }
        if (read[0] != read[1] || blocks[0].compare(0, read[0], blocks[1], 0, read[1]) != 0)
            return false;
        if (read[0] == 0) return true;
    }
}

}  // namespace kelvaro
