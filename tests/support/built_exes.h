// The launcher exes of the two Windows presets, for the suites that read
// them (their paths come from the suite's build), each shown by its preset.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>

namespace kelvaro::testing {

struct BuiltExe {
    const char* name;  // its preset
    const char* path;
    bool pe32Plus;  // x86_64, else i686
};

inline const BuiltExe kBuiltExes[] = {{"win64", KELVARO_WIN64_EXE, true},
                                      {"win32", KELVARO_WIN32_EXE, false}};

inline void PrintTo(const BuiltExe& exe, std::ostream* out) {
    *out << exe.name;
}

// True when `exe` is not built, a failure too where every exe must be
// (KELVARO_REQUIRE_EXES=1).
inline bool NotBuilt(const BuiltExe& exe) {
    if (std::filesystem::exists(exe.path)) return false;
    const char* required = std::getenv("KELVARO_REQUIRE_EXES");
    if (required != nullptr && std::string(required) == "1")
        ADD_FAILURE() << "not built: " << exe.path;
    return true;
}

}  // namespace kelvaro::testing
