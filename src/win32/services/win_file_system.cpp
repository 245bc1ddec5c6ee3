#include "win_file_system.h"

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

// Whether this user's rights stopped a rename that Windows denied. A rename
// opens its source for DELETE and fails with access denied where that is
// not granted (MS-FSA 2.1.5.15.11), as it is not in a folder that Windows
// protects. Access denied has other causes that no administrator could lift:
// Windows refuses to rename a folder while a file inside is open in another
// program (a virus scanner, an indexer, an editor). So the rights are tried:
// the source opened for DELETE, sharing everything, and the folder that
// holds it given its own attributes back, which changes nothing but is
// refused to whoever may not change that folder (and, under Wine, to a
// folder that Linux keeps immutable). Where both are allowed, something else
// stopped the rename.
bool ShortOfRightsToRename(const std::string& from) {
    HANDLE source =
        CreateFileA(from.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (source == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_ACCESS_DENIED;
    CloseHandle(source);
    std::string holder = from.substr(0, from.find_last_not_of('\\') + 1);
    const size_t separator = holder.find_last_of('\\');
    holder = separator == std::string::npos ? "." : holder.substr(0, separator + 1);
    const DWORD attributes = GetFileAttributesA(holder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !SetFileAttributesA(holder.c_str(), attributes) && GetLastError() == ERROR_ACCESS_DENIED;
}

}  // namespace

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
    return FailureOf(error, !DeniedToAll(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
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

}  // namespace kelvaro
