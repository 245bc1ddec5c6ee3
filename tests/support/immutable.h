// Files and folders that Linux refuses to change, even to root, while the
// object lives (the immutable flag of chattr): Wine then answers every change
// to them with ERROR_ACCESS_DENIED, as Windows answers a user in a folder that
// it protects (Program Files, say). The flag comes off again when the object
// goes, whatever the test did; a test that is killed before that leaves it to
// the end of its Wine session (tests/wine/session), which takes the flag off
// everything in the prefix.
#pragma once

#include <string>
#include <vector>

namespace kelvaro::testing {

// The host's name of a Windows path (Wine's wine_get_unix_file_name), empty
// where the tests do not run under Wine.
std::string UnixName(const std::string& path);

// Runs a host command with `arguments` after it (host paths, say) and
// returns its complaint, empty when it succeeded.
std::string RunOnHost(const std::string& command, const std::vector<std::string>& arguments);

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
