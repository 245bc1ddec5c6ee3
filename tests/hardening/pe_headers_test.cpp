// The Windows exes as a loader sees them: relocatable and marked for ASLR and
// DEP, and needing nothing but Windows itself: every DLL they import is one
// that every Windows since 7 ships, and the C++ run time is linked in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "pe_image.h"

namespace kelvaro::testing {
namespace {

struct Exe {
    const char* name;
    const char* path;
    std::uint16_t machine;
    bool pe32Plus;
};

const Exe kExes[] = {
    {"win64", KELVARO_WIN64_EXE, PeImage::kMachineAmd64, true},
    {"win32", KELVARO_WIN32_EXE, PeImage::kMachineI386, false},
};

// No api-ms-win-crt-*: the universal C run time is missing from a Windows 7
// without its updates, while msvcrt is always there. No comctl32 either: the
// launcher loads it from the system folder itself.
const std::set<std::string> kSystemDlls = {
    "kernel32.dll", "user32.dll", "gdi32.dll",    "advapi32.dll", "shell32.dll",
    "comdlg32.dll", "ole32.dll",  "oleaut32.dll", "msvcrt.dll",
};

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

class PeHeaders : public ::testing::TestWithParam<Exe> {
  protected:
    void SetUp() override {
        const Exe& exe = GetParam();
        if (!std::filesystem::exists(exe.path)) {
            if (ExesRequired()) FAIL() << "not built: " << exe.path;
            GTEST_SKIP() << "not built: " << exe.path;
        }
        std::string error;
        std::optional<PeImage> read = ReadPeFile(exe.path, &error);
        ASSERT_TRUE(read) << exe.path << ": " << error;
        image_ = *read;
    }
    PeImage image_;
};

TEST_P(PeHeaders, IsTheExpectedKindOfImage) {
    EXPECT_EQ(image_.machine, GetParam().machine);
    EXPECT_EQ(image_.pe32Plus, GetParam().pe32Plus);
}

TEST_P(PeHeaders, AsksForAddressSpaceRandomisationAndDataExecutionPrevention) {
    struct Flag {
        const char* name;
        std::uint16_t bit;
        bool wanted;
    } flags[] = {
        {"DYNAMIC_BASE", PeImage::kDynamicBase, true},
        {"NX_COMPAT", PeImage::kNxCompat, true},
        // Only a 64-bit image can use addresses above 4 GB.
        {"HIGH_ENTROPY_VA", PeImage::kHighEntropyVa, GetParam().pe32Plus},
    };
    for (const Flag& flag : flags) {
        EXPECT_EQ((image_.dllCharacteristics & flag.bit) != 0, flag.wanted)
            << flag.name << " in DllCharacteristics 0x" << std::hex << image_.dllCharacteristics;
    }
}

TEST_P(PeHeaders, KeepsItsRelocationsSoTheLoaderCanMoveIt) {
    EXPECT_EQ(image_.characteristics & PeImage::kRelocsStripped, 0) << "relocations stripped";
    const PeSection* reloc = image_.Section(".reloc");
    ASSERT_NE(reloc, nullptr) << "no .reloc section";
    EXPECT_GT(reloc->rawSize, 0u);
    PeDirectory directory = image_.Directory(PeImage::kBaseRelocationDirectory);
    EXPECT_NE(directory.rva, 0u);
    EXPECT_GT(directory.size, 0u);
}

TEST_P(PeHeaders, ImportsWindowsSystemDllsOnly) {
    std::set<std::string> imported;
    for (const PeImport& import : image_.imports) imported.insert(Lower(import.dll));
    // An empty list would pass the check below for a reader that found nothing.
    EXPECT_TRUE(imported.count("kernel32.dll")) << "kernel32.dll not among the imports";
    for (const std::string& dll : imported) {
        EXPECT_TRUE(kSystemDlls.count(dll)) << GetParam().name << " imports " << dll;
    }
}

TEST_P(PeHeaders, NeedsNoStackProtectorDllAndFindsTheDllSearchSwitchAtRunTime) {
    for (const PeImport& import : image_.imports) {
        EXPECT_EQ(Lower(import.dll).find("libssp"), std::string::npos) << import.dll;
        // Imported by name, the exe would not start on a Windows 7 without the
        // update that brought SetDefaultDllDirectories.
        for (const std::string& function : import.functions) {
            EXPECT_NE(function, "SetDefaultDllDirectories") << import.dll;
        }
    }
}

// A time stamp would make every build of the same sources differ.
TEST_P(PeHeaders, CarriesNoTimeStampsSoThatEveryBuildGivesTheSameBytes) {
    EXPECT_EQ(image_.timeDateStamp, 0u) << "link time in the file header";
    EXPECT_NE(image_.Directory(PeImage::kResourceDirectory).rva, 0u) << "no resources";
    EXPECT_EQ(image_.resourceTimeDateStamp, 0u) << "time stamp of the resources";
    EXPECT_EQ(image_.Directory(PeImage::kDebugDirectory).size, 0u)
        << "a debug directory, with a time stamp in each entry";
}

INSTANTIATE_TEST_SUITE_P(Exes, PeHeaders, ::testing::ValuesIn(kExes),
                         [](const ::testing::TestParamInfo<Exe>& info) { return info.param.name; });

}  // namespace
}  // namespace kelvaro::testing
