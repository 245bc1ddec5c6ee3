// A file system in front of the real one. It writes every call into the
// shared journal, and a test can make chosen calls fail, give chosen look-up
// answers, or stop the launcher dead before a given change to the disk.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fakes.h"
#include "platform.h"

namespace kelvaro::testing {

// Thrown instead of a change to the disk, as if the process were killed
// there. Only the test catches it.
struct Killed {};

class ScriptedFileSystem : public FileSystem {
  public:
    ScriptedFileSystem(FileSystem& disk, Journal& journal) : disk_(disk), journal_(journal) {}

    // Journal lines write a path that begins with `folder` as `name` and the
    // rest, e.g. "rename <game>Data\INI\ -> <game>Data\xINIx\".
    void Abbreviate(std::string folder, std::string name) {
        names_.emplace_back(std::move(folder), std::move(name));
    }

    Entry Lookup(const std::string& path) override;
    Change Rename(const std::string& from, const std::string& to) override;
    Change Delete(const std::string& path) override;
    Change Copy(const std::string& from, const std::string& to) override;
    bool SameBytes(const std::string& first, const std::string& second) override;

    std::set<std::string> failing;   // journal lines of calls that fail, changing nothing
    std::set<std::string> refusing;  // ... and of calls that Windows refuses for want of rights
    std::map<std::string, Entry>
        answers;      // short path -> look-up answer given instead of the disk's
    int changes = 0;  // renames, deletions and copies attempted so far
    int killAt = -1;  // the call that would make change number killAt + 1 throws

  private:
    std::string Short(const std::string& path) const;
    // Journals a change; what the test makes of it, else what `change` makes.
    template <class Disk>
    Change Attempt(const std::string& line, Disk change);

    FileSystem& disk_;
    Journal& journal_;
    std::vector<std::pair<std::string, std::string>> names_;
};

}  // namespace kelvaro::testing
