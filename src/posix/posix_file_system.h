// The real file system off Windows, with Windows' rules where the launcher
// relies on them: backslash paths, renames that never replace, and dot-files
// counted as hidden (as Wine shows them).
#pragma once

#include "platform.h"

namespace kelvaro {

class PosixFileSystem : public FileSystem {
  public:
    Entry Lookup(const std::string& path) override;
    // A change that the system refuses for want of permission (an immutable
    // file or folder, a read-only mount) is Refused.
    Change Rename(const std::string& from, const std::string& to) override;
    Change Delete(const std::string& path) override;
    Change Copy(const std::string& from, const std::string& to) override;
    bool SameBytes(const std::string& first, const std::string& second) override;
};

// A Windows path with every backslash turned into a slash.
std::string PosixPath(const std::string& windowsPath);

}  // namespace kelvaro
