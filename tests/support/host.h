// The Linux host below Wine, for tests that need what Wine cannot do: the
// host's name of a Windows path, and a host command run to its end.
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

}  // namespace kelvaro::testing
