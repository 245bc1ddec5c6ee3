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

// Errors of a change that Windows refused for want of rights, which an
// administrator would be allowed to make.
bool IsRefusal(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
        case ERROR_WRITE_PROTECT:
            return true;
        default:
            return false;
    }
}

// A read-only file or a folder, which Windows denies every user to write
// over or to delete as a file.
bool DeniedToAll(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

// What became of a change that reported `done`, told by the error it left;
// `written` is the file that it writes over or deletes.
Change Outcome(BOOL done, const std::string& written = {}) {
    if (done) return Change::Made;
    const DWORD error = GetLastError();
    if (!IsRefusal(error)) return Change::Failed;
    if (error == ERROR_ACCESS_DENIED && !written.empty() && DeniedToAll(written)) {
        return Change::Failed;
    }
    return Change::Refused;
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

Change WinFileSystem::Rename(const std::string& from, const std::string& to) {
    return Outcome(MoveFileA(from.c_str(), to.c_str()));
}

Change WinFileSystem::Delete(const std::string& path) {
    return Outcome(DeleteFileA(path.c_str()), path);
}

// CopyFileA also copies the source's attributes. A read-only copy in the
// game's folder could never be deleted again, and the game's own script
// could then never come back from its backup: the copy takes the bytes only.
Change WinFileSystem::Copy(const std::string& from, const std::string& to) {
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) return Outcome(FALSE, to);
    DWORD attributes = GetFileAttributesA(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttributesA(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    return Change::Made;
}

}  // namespace kelvaro
