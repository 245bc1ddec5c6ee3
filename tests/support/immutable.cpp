#include "immutable.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

namespace kelvaro::testing {

Immutable::Immutable(std::vector<std::string> paths) {
    for (const std::string& path : paths) unixPaths_.push_back(UnixName(path));
    failure_ = RunOnHost("chattr +i", unixPaths_);
    // Where refusals are required, the test that skips for want of one fails.
    const char* required = std::getenv("KELVARO_REQUIRE_REFUSALS");
    if (!failure_.empty() && required != nullptr && std::string(required) == "1")
        ADD_FAILURE() << "no refusal to test: " << failure_;
}

Immutable::~Immutable() {
    RunOnHost("chattr -i", unixPaths_);
}

}  // namespace kelvaro::testing
