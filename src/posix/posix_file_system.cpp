#include "posix_file_system.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>

namespace kelvaro {

namespace {

bool IsHiddenName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    size_t start = slash == std::string::npos ? 0 : slash + 1;
    return start < path.size() && path[start] == '.';
}

bool WriteAll(int fd, const char* data, ssize_t size) {
    while (size > 0) {
        ssize_t written = write(fd, data, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

bool CopyBytes(int in, int out) {
    char buffer[65536];
    for (;;) {
        ssize_t got = read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        if (!WriteAll(out, buffer, got)) return false;
    }
}

// What became of a change, by the errno that a failed one left.
Change Outcome(bool done) {
    if (done) return Change::Made;
    return errno == EACCES || errno == EPERM || errno == EROFS ? Change::Refused : Change::Failed;
}

}  // namespace

std::string PosixPath(const std::string& windowsPath) {
    std::string path = windowsPath;
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

Entry PosixFileSystem::Lookup(const std::string& path) {
    std::string posix = PosixPath(path);
    struct stat info;
    if (stat(posix.c_str(), &info) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? Entry::Missing : Entry::Unknown;
    }
    if (!S_ISREG(info.st_mode) || IsHiddenName(posix)) return Entry::Other;
    return Entry::NormalFile;
}

Change PosixFileSystem::Rename(const std::string& from, const std::string& to) {
    return Outcome(renameat2(AT_FDCWD, PosixPath(from).c_str(), AT_FDCWD, PosixPath(to).c_str(),
                             RENAME_NOREPLACE) == 0);
}

Change PosixFileSystem::Delete(const std::string& path) {
    return Outcome(unlink(PosixPath(path).c_str()) == 0);
}

Change PosixFileSystem::Copy(const std::string& from, const std::string& to) {
    int in = open(PosixPath(from).c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return Outcome(false);
    // A folder opens for reading too; like CopyFileA, refuse it before the
    // destination is created or cut short.
    struct stat info;
    if (fstat(in, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(in);
        return Change::Failed;
    }
    int out = open(PosixPath(to).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        const Change failed = Outcome(false);
        close(in);
        return failed;
    }
    bool copied = CopyBytes(in, out);
    if (close(out) != 0) copied = false;
    close(in);
    return copied ? Change::Made : Change::Failed;
}

bool PosixFileSystem::SameBytes(const std::string& first, const std::string& second) {
    std::ifstream one(PosixPath(first), std::ios::binary),
        other(PosixPath(second), std::ios::binary);
    return one && other &&
           std::equal(std::istreambuf_iterator<char>(one), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(other), std::istreambuf_iterator<char>());
}

}  // namespace kelvaro
