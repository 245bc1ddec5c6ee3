#include "win_services.h"

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

}  // namespace

Entry WinFileSystem::Lookup(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return IsNoSuchEntry(GetLastError()) ? Entry::Missing : Entry::Unknown;
    }
    constexpr DWORD kNotANormalFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
    return (attributes & kNotANormalFile) != 0 ? Entry::Other : Entry::NormalFile;
}

bool WinFileSystem::Rename(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

bool WinFileSystem::Delete(const std::string& path) {
    return DeleteFileA(path.c_str()) != FALSE;
}

// CopyFileA also copies the source's attributes. A read-only copy in the
// game's folder could never be deleted again, and the game's own script
// could then never come back from its backup: the copy takes the bytes only.
bool WinFileSystem::Copy(const std::string& from, const std::string& to) {
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) return false;
    DWORD attributes = GetFileAttributesA(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttributesA(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    return true;
}

}  // namespace kelvaro
