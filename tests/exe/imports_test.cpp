// The launcher exes need nothing but Windows itself: every DLL they import is
// one that every Windows since 7 ships, and the C++ run time is linked in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>

#include "pe_image.h"

namespace kelvaro::testing {
namespace {

struct Exe {
    const char* name;
    const char* path;
    std::uint16_t machine;
};

const Exe kExes[] = {
    {"win64", KELVARO_WIN64_EXE, PeImage::kMachineAmd64},
    {"win32", KELVARO_WIN32_EXE, PeImage::kMachineI386},
};

// No api-ms-win-crt-*: the universal C run time is missing from a Windows 7
// without its updates, while msvcrt is always there. No comctl32 either: the
// launcher loads it from the system folder itself.
const std::set<std::string> kSystemDlls = {
    "kernel32.dll", "user32.dll", "gdi32.dll",    "advapi32.dll", "shell32.dll",
    "comdlg32.dll", "ole32.dll",  "oleaut32.dll", "msvcrt.dll",
};

// Test names and failure messages show the exe by its preset.
void PrintTo(const Exe& exe, std::ostream* out) {
    *out << exe.name;
}

bool ExesRequired() {
    const char* required = std::getenv("KELVARO_REQUIRE_EXES");
    return required != nullptr && std::string(required) == "1";
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class ExeImports : public ::testing::TestWithParam<Exe> {};

TEST_P(ExeImports, AreWindowsSystemDllsOnly) {
    const Exe& exe = GetParam();
    if (!std::filesystem::exists(exe.path)) {
        if (ExesRequired()) FAIL() << "not built: " << exe.path;
        GTEST_SKIP() << "not built: " << exe.path;
    }
    std::string error;
    std::optional<PeImage> image = ReadPeFile(exe.path, &error);
    ASSERT_TRUE(image) << exe.path << ": " << error;
    EXPECT_EQ(image->machine, exe.machine);

    std::set<std::string> imported;
    for (const PeImport& import : image->imports) imported.insert(Lower(import.dll));
    // An empty list would pass the check below for a reader that found nothing.
    EXPECT_TRUE(imported.count("kernel32.dll")) << "kernel32.dll not among the imports";
    for (const std::string& dll : imported) {
        EXPECT_TRUE(kSystemDlls.count(dll)) << exe.name << " imports " << dll;
    }
}

INSTANTIATE_TEST_SUITE_P(Exes, ExeImports, ::testing::ValuesIn(kExes),
                         [](const ::testing::TestParamInfo<Exe>& info) { return info.param.name; });

}  // namespace
}  // namespace kelvaro::testing
