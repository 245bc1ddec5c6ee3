// The Windows exes as a loader sees them: relocatable and marked for ASLR and
// DEP, and needing nothing but Windows itself: every DLL they import is one
// that every Windows since 7 ships, and the C++ run time is linked in.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "built_exes.h"
#include "pe_image.h"

namespace kelvaro::testing {
namespace {

// No api-ms-win-crt-*: the universal C run time is missing from a Windows 7
// without its updates, while msvcrt is always there. No comctl32 either: the
// launcher loads it from the system folder itself.
const std::set<std::string> kSystemDlls = {
    "kernel32.dll", "user32.dll", "gdi32.dll",    "advapi32.dll", "shell32.dll",
    "comdlg32.dll", "ole32.dll",  "oleaut32.dll", "msvcrt.dll",   "ntdll.dll",
};

// The headers of the exe at `path`; none, after a failure, when unreadable.
PeImage Read(const char* path) {
    std::string error;
    std::optional<PeImage> image = ReadPeFile(path, &error);
    EXPECT_TRUE(image) << path << ": " << error;
    return image.value_or(PeImage{});
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class PeHeaders : public ::testing::TestWithParam<BuiltExe> {
  protected:
    void SetUp() override {
        if (NotBuilt(GetParam())) GTEST_SKIP() << "not built: " << GetParam().path;
        image_ = Read(GetParam().path);
    }
    PeImage image_;
};

TEST_P(PeHeaders, IsTheExpectedKindOfImage) {
    EXPECT_EQ(image_.machine, GetParam().pe32Plus ? PeImage::kMachineAmd64 : PeImage::kMachineI386);
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

// "dll!function" for each import of the image.
std::set<std::string> Imports(const PeImage& image) {
    std::set<std::string> imports;
    for (const PeImport& import : image.imports) {
        for (const std::string& function : import.functions)
            imports.insert(Lower(import.dll) + "!" + function);
    }
    return imports;
}

std::set<std::string> Without(const std::set<std::string>& these,
                              const std::set<std::string>& those) {
    std::set<std::string> rest;
    std::set_difference(these.begin(), these.end(), those.begin(), those.end(),
                        std::inserter(rest, rest.end()));
    return rest;
}

// The exe under test (x86_64) and the players' one (i686) are built from the
// same code with the same options: what one imports and the other does not is
// what the architecture changes, and nothing else.
TEST(TheTwoExes, ImportTheSameFunctionsApartFromTheArchitecturesOwn) {
    for (const BuiltExe& exe : kBuiltExes)
        if (NotBuilt(exe)) GTEST_SKIP() << "not built: " << exe.path;
    const std::set<std::string> x86_64 = Imports(Read(kBuiltExes[0].path));
    const std::set<std::string> i686 = Imports(Read(kBuiltExes[1].path));
    const std::set<std::string> x86_64Only = {
        // Window data the size of a pointer; 32-bit headers name these
        // Get/SetWindowLongA.
        "user32.dll!GetWindowLongPtrA",
        "user32.dll!SetWindowLongPtrA",
        // The run time's start-up data, read directly rather than through
        // the 32-bit run time's accessors.
        "msvcrt.dll!_acmdln",
        "msvcrt.dll!__argv",
        "msvcrt.dll!_commode",
        "msvcrt.dll!_fmode",
        "msvcrt.dll!__iob_func",
        // Exceptions unwound through the 64-bit image's function tables.
        "kernel32.dll!RaiseException",
        "kernel32.dll!RtlCaptureContext",
        "kernel32.dll!RtlLookupFunctionEntry",
        "kernel32.dll!RtlUnwindEx",
        "kernel32.dll!RtlVirtualUnwind",
        "kernel32.dll!__C_specific_handler",
    };
    const std::set<std::string> i686Only = {
        "user32.dll!GetWindowLongA",
        "user32.dll!SetWindowLongA",
        "msvcrt.dll!__p__acmdln",
        "msvcrt.dll!__p___argv",
        "msvcrt.dll!__p__commode",
        "msvcrt.dll!__p__fmode",
        "msvcrt.dll!_iob",
        // The 32-bit start-up code registers the exception frame tables,
        // and lets go of a run-time DLL that a static exe does not load.
        "kernel32.dll!FreeLibrary",
        "kernel32.dll!GetModuleHandleA",
    };
    EXPECT_GT(i686.size(), 100u);
    EXPECT_EQ(Without(x86_64, i686), x86_64Only);
    EXPECT_EQ(Without(i686, x86_64), i686Only);
}

// Generals runs on Windows XP, and so must the players' (i686) exe: its
// header says so (subsystem 4.0) and it imports by name nothing XP SP3 lacks.
TEST_P(PeHeaders, StartsOnWindowsXpSp3WhenItIsThePlayers) {
    if (GetParam().pe32Plus) GTEST_SKIP() << "players run the i686 exe";
    EXPECT_EQ(image_.subsystemVersion, (std::pair<std::uint16_t, std::uint16_t>{4, 0}));
    std::set<std::string> xp;
    std::ifstream list(KELVARO_XP_IMPORTS);
    for (std::string line; std::getline(list, line);)
        if (!line.empty() && line[0] != '#') xp.insert(line);
    EXPECT_GT(xp.size(), 100u) << KELVARO_XP_IMPORTS;
    EXPECT_EQ(Without(Imports(image_), xp), std::set<std::string>{});
}

// A time stamp would make every build of the same sources differ.
TEST_P(PeHeaders, CarriesNoTimeStampsSoThatEveryBuildGivesTheSameBytes) {
    EXPECT_EQ(image_.timeDateStamp, 0u) << "link time in the file header";
    EXPECT_NE(image_.Directory(PeImage::kResourceDirectory).rva, 0u) << "no resources";
    EXPECT_EQ(image_.resourceTimeDateStamp, 0u) << "time stamp of the resources";
    EXPECT_EQ(image_.Directory(PeImage::kDebugDirectory).size, 0u)
        << "a debug directory, with a time stamp in each entry";
}

INSTANTIATE_TEST_SUITE_P(Exes, PeHeaders, ::testing::ValuesIn(kBuiltExes),
                         ::testing::PrintToStringParamName());

}  // namespace
}  // namespace kelvaro::testing
