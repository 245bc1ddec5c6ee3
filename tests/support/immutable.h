// Files and folders that Linux refuses to change, even to root, while the
// object lives (the immutable flag of chattr): Wine then answers every change
// to them with ERROR_ACCESS_DENIED, as Windows answers a user in a folder that
// it protects (Program Files, say). The flag comes off again when the object
// goes, whatever the test did; a test that is killed before that leaves it to
// the next drill's sandbox, which takes it off its own folder first, or to
// the end of its Wine session (tests/wine/session), which takes the flag off
// everything in the prefix.
#pragma once

#include <string>
#include <vector>

#include "host.h"

namespace kelvaro::testing {

class Immutable {
  public:
    // Windows paths, as the program under test names them.
    explicit Immutable(std::vector<std::string> paths);
    ~Immutable();
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;

    // Why the paths could not all be made immutable (a file system without
    // the flag, say), for the test to skip with; empty when they were. With
    // KELVARO_REQUIRE_REFUSALS=1 (scripts/test), that test fails as well.
    const std::string& Failure() const { return failure_; }

  private:
    std::vector<std::string> unixPaths_;
    std::string failure_;
};

}  // namespace kelvaro::testing
