// The launcher exes' resources as Windows itself reads them: the icon, the
// banner, the version record and the manifest, and nothing else; and the
// banner decoded.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "banner.h"
#include "built_exes.h"
#include "com_apartment.h"
#include "layout.h"
#include "resource_ids.h"
#include "texts.h"
#include "tiers.h"

namespace kelvaro {
namespace {

using testing::BuiltExe;
using testing::kBuiltExes;
using testing::NotBuilt;

using Bytes = std::vector<unsigned char>;

unsigned Word(const Bytes& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8;
}
unsigned Dword(const Bytes& bytes, size_t at) {
    return Word(bytes, at) | Word(bytes, at + 2) << 16;
}
unsigned BigWord(const Bytes& bytes, size_t at) {
    return bytes[at] << 8 | bytes[at + 1];
}

Bytes ResourceBytes(HMODULE module, LPCSTR type, int id) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (found == nullptr) return {};
    auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
    return data == nullptr ? Bytes{} : Bytes(data, data + SizeofResource(module, found));
}

// Each exe loaded as data only, so that the i686 one opens in a 64-bit process.
class ExeResources : public ::testing::TestWithParam<BuiltExe> {
  protected:
    void SetUp() override {
        if (NotBuilt(GetParam())) GTEST_SKIP() << "not built: " << GetParam().path;
        module_ = LoadLibraryExA(GetParam().path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << GetParam().path << ": error " << GetLastError();
    }
    void TearDown() override {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    Bytes Resource(LPCSTR type, int id) const { return ResourceBytes(module_, type, id); }
    HMODULE module_ = nullptr;
};

// Resource types and names as "type/name", numbers in decimal.
std::string Id(LPCSTR id) {
    return IS_INTRESOURCE(id) ? std::to_string(reinterpret_cast<ULONG_PTR>(id)) : id;
}
BOOL CALLBACK AddName(HMODULE, LPCSTR type, LPSTR name, LONG_PTR found) {
    reinterpret_cast<std::set<std::string>*>(found)->insert(Id(type) + "/" + Id(name));
    return TRUE;
}
BOOL CALLBACK AddType(HMODULE module, LPSTR type, LONG_PTR found) {
    EnumResourceNamesA(module, type, AddName, found);
    return TRUE;
}

TEST_P(ExeResources, AreTheIconTheBannerTheVersionRecordAndTheManifestOnly) {
    std::set<std::string> found;
    EnumResourceTypesA(module_, AddType, reinterpret_cast<LONG_PTR>(&found));
    const std::set<std::string> expected = {"3/30001", "10/101", "14/1", "16/1", "24/1"};
    EXPECT_EQ(found, expected)
        << "3 icon image, 10 raw data, 14 icon group, 16 version, 24 manifest";
}

TEST_P(ExeResources, IconIsOne32By32ImageOf24BitColour) {
    const Bytes group = Resource(MAKEINTRESOURCEA(14), IDI_KELVARO);
    const Bytes image = Resource(MAKEINTRESOURCEA(3), IDI_KELVARO_IMAGE);
    ASSERT_EQ(group.size(), 20u) << "one entry";
    ASSERT_EQ(image.size(), 40u + 32 * 32 * 3 + 32 * 4) << "header, colours, mask";
    struct Field {
        const char* name;
        unsigned value, expected;
    } fields[] = {
        {"group type", Word(group, 2), 1},
        {"group count", Word(group, 4), 1},
        {"entry width", group[6], 32},
        {"entry height", group[7], 32},
        {"entry bit count", Word(group, 12), 24},
        {"entry size", Dword(group, 14), static_cast<unsigned>(image.size())},
        {"entry image id", Word(group, 18), IDI_KELVARO_IMAGE},
        {"biSize", Dword(image, 0), 40},
        {"biWidth", Dword(image, 4), 32},
        {"biHeight (colours and mask)", Dword(image, 8), 64},
        {"biBitCount", Word(image, 14), 24},
        {"biCompression", Dword(image, 16), BI_RGB},
    };
    for (const Field& field : fields) EXPECT_EQ(field.value, field.expected) << field.name;
    HICON icon = CreateIconFromResourceEx(const_cast<unsigned char*>(image.data()),
                                          static_cast<DWORD>(image.size()), TRUE, 0x00030000, 32,
                                          32, LR_DEFAULTCOLOR);
    EXPECT_NE(icon, nullptr) << "Windows refuses the image: error " << GetLastError();
    if (icon != nullptr) DestroyIcon(icon);
}

// The manifest as Windows reads it to start the exe: the invoker's rights
// without virtualisation, and the common controls 6 found among the system's
// assemblies. In its text, Windows Vista to 11 known, and the security part in
// the namespace that Windows XP reads.
TEST_P(ExeResources, ManifestAsksForTheInvokersRightsTheSystemsLookAndKnowsVistaTo11) {
    ACTCTXA manifest = {};
    manifest.cbSize = sizeof manifest;
    manifest.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    manifest.lpSource = GetParam().path;
    manifest.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    HANDLE context = CreateActCtxA(&manifest);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
    QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level,
                 nullptr);
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_EQ(level.UiAccess, 0u);
    union {  // the detail is followed by its texts
        ACTIVATION_CONTEXT_DETAILED_INFORMATION detail;
        char room[4096];
    } read = {};
    QueryActCtxW(0, context, nullptr, ActivationContextDetailedInformation, &read, sizeof read,
                 nullptr);
    EXPECT_EQ(read.detail.ulAssemblyCount, 2u) << "the launcher and the common controls 6";
    struct {  // as Windows 10 lays it out, each element with its maxversiontested
        DWORD count;
        struct {
            GUID id;
            ACTCTX_COMPATIBILITY_ELEMENT_TYPE type;
            ULONGLONG maxVersionTested;
        } elements[8];
    } known = {};
    QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, &known,
                 sizeof known, nullptr);
    std::set<std::string> systems;  // Vista, 7, 8, 8.1, 10 and 11
    for (DWORD i = 0; i < std::min<DWORD>(known.count, 8); ++i) {
        wchar_t id[40] = {};
        StringFromGUID2(known.elements[i].id, id, 40);
        if (known.elements[i].type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)
            systems.insert(std::string(id, id + 38));
    }
    EXPECT_EQ(systems, (std::set<std::string>{"{E2011457-1546-43C5-A5FE-008DEEE3D3F0}",
                                              "{35138B9A-5D96-4FBD-8E2D-A2440225F93A}",
                                              "{4A2F28E3-53B9-4441-BA9C-D69D4A4A6E38}",
                                              "{1F676C76-80E1-4239-95BB-83D0F6D0DA78}",
                                              "{8E0F7A12-BFB3-4FE8-B9A5-48FD50A15A9A}"}));
    ReleaseActCtx(context);
    const Bytes bytes = Resource(RT_MANIFEST, 1);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">"),
              std::string::npos);
}

// The offset of a JPEG's frame header (SOFn: 0xFFC0 to 0xFFCF but for the
// Huffman, arithmetic-coding and extension markers), or the size when there is none.
size_t FrameHeader(const Bytes& jpeg) {
    size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        const unsigned marker = jpeg[at + 1];
        if ((marker & 0xF0) == 0xC0 && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return at;
        at += 2 + BigWord(jpeg, at + 2);
    }
    return jpeg.size();
}

TEST_P(ExeResources, BannerIsABaselineJpegOf361By40WithThreeComponents) {
    const Bytes jpeg = Resource(RT_RCDATA, IDR_BANNER);
    ASSERT_GE(jpeg.size(), 4u);
    EXPECT_EQ(BigWord(jpeg, 0), 0xFFD8u) << "start of image";
    const size_t at = FrameHeader(jpeg);
    ASSERT_LE(at + 10, jpeg.size()) << "no frame header";
    EXPECT_EQ(BigWord(jpeg, at), 0xFFC0u) << "baseline frame marker";
    EXPECT_EQ(jpeg[at + 4], 8u) << "sample precision";
    EXPECT_EQ(BigWord(jpeg, at + 5), 40u) << "height";
    EXPECT_EQ(BigWord(jpeg, at + 7), 361u) << "width";
    EXPECT_EQ(jpeg[at + 9], 3u) << "components";
}

TEST_P(ExeResources, VersionRecordNamesTheProductAndVersion1000) {
    DWORD ignored = 0;
    Bytes record(GetFileVersionInfoSizeA(GetParam().path, &ignored));
    ASSERT_FALSE(record.empty()) << "error " << GetLastError();
    ASSERT_TRUE(GetFileVersionInfoA(GetParam().path, 0, record.size(), record.data()));
    auto query = [&](const std::string& path, UINT* size) {
        void* value = nullptr;
        *size = 0;
        return VerQueryValueA(record.data(), path.c_str(), &value, size) ? value : nullptr;
    };
    const std::map<std::string, std::string> strings = {
        {"CompanyName", "Dravem Modding"},
        {"FileDescription", "Kelvaro Mod executable for C&C Generals"},
        {"FileVersion", "1.00"},
        {"InternalName", "Kelvaro Mod"},
        {"OriginalFilename", "Kelvaro Mod.exe"},
        {"ProductName", "Kelvaro Mod for C&C Generals"},
        {"ProductVersion", "1.00"},
    };
    for (const auto& [key, expected] : strings) {
        UINT size = 0;
        auto* value = static_cast<const char*>(query("\\StringFileInfo\\040904B0\\" + key, &size));
        EXPECT_EQ(value == nullptr ? "(missing)" : std::string(value), expected) << key;
    }
    UINT size = 0;
    auto* translation = static_cast<const WORD*>(query("\\VarFileInfo\\Translation", &size));
    ASSERT_NE(translation, nullptr);
    ASSERT_EQ(size, 4u) << "one language";
    EXPECT_EQ(translation[0], 0x0409) << "language";
    EXPECT_EQ(translation[1], 1200) << "code page";
    auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query("\\", &size));
    ASSERT_NE(fixed, nullptr);
    struct Field {
        const char* name;
        DWORD value, expected;
    } fields[] = {
        {"signature", fixed->dwSignature, VS_FFI_SIGNATURE},
        {"file version, high", fixed->dwFileVersionMS, 0x00010000},
        {"file version, low", fixed->dwFileVersionLS, 0},
        {"product version, high", fixed->dwProductVersionMS, 0x00010000},
        {"product version, low", fixed->dwProductVersionLS, 0},
        {"flags", fixed->dwFileFlags, 0},
        {"operating system", fixed->dwFileOS, VOS__WINDOWS32},
        {"file type", fixed->dwFileType, VFT_APP},
    };
    for (const Field& field : fields) EXPECT_EQ(field.value, field.expected) << field.name;
}

TEST_P(ExeResources, BannerDecodesToItsNaturalSizeWithItsLightAndDarkParts) {
    const ComApartment com;
    HBITMAP banner = LoadBanner(module_);
    ASSERT_NE(banner, nullptr);
    BITMAP info = {};
    GetObjectA(banner, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 361);
    EXPECT_EQ(info.bmHeight, 40);
    // A decoder that fails quietly leaves one flat colour.
    BITMAPINFO format = {};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), 361, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<RGBQUAD> pixels(361 * 40);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(screen, banner, 0, 40, pixels.data(), &format, DIB_RGB_COLORS), 40);
    ReleaseDC(nullptr, screen);
    DeleteObject(banner);
    auto darker = [](RGBQUAD a, RGBQUAD b) {
        return a.rgbRed + a.rgbGreen + a.rgbBlue < b.rgbRed + b.rgbGreen + b.rgbBlue;
    };
    auto [darkest, lightest] = std::minmax_element(pixels.begin(), pixels.end(), darker);
    EXPECT_LT(darkest->rgbRed + darkest->rgbGreen + darkest->rgbBlue, 150);
    EXPECT_GT(lightest->rgbRed + lightest->rgbGreen + lightest->rgbBlue, 450);
}

INSTANTIATE_TEST_SUITE_P(Exes, ExeResources, ::testing::ValuesIn(kBuiltExes),
                         ::testing::PrintToStringParamName());

std::string FileBytes(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Every text that the launcher shows or uses.
std::vector<std::string_view> LauncherTexts() {
    using namespace texts;
    std::vector<std::string_view> all = {
        kProductName,
        kMainCaption,
        kPathCaption,
        kWebPage,
        kUserDataSuffix,
        kInstallPathKey,
        kGameNotLocated,
        kGameProgramMissing,
        kWrongPath,
        kArchiveMissingTail,
        kTierScriptMissingTail,
        kGameNotStarted,
        kFolderRefusedHead,
        kFolderRefusedTail,
        kGrantQuestion,
        kRefusedToAdministrators,
        kStillRefused,
        kGoingOnUnchanged,
        kGrantFailed,
        kGrantVerb,
        kGameProgram,
        kModOption,
        kArchivePrefix,
        kArchiveSuffix,
        kIniFolder,
        kHiddenIniFolder,
        kGameScript,
        kScriptBackup,
        kTierScriptPrefix,
        kTierScriptSuffix,
    };
    for (const Tier& tier : kTiers) all.insert(all.end(), {tier.caption, tier.description});
    for (layout::Form form : {layout::Form::MainFrm, layout::Form::PathFrm}) {
        for (const layout::ControlLayout& control : layout::ControlsOf(form)) {
            if (!control.text.empty()) all.push_back(control.text);
        }
    }
    return all;
}

// The players' exe (i686) is read, not run, on machines without 32-bit Wine:
// the exe that the suites run (x86_64) must carry the same resources, byte
// for byte, and the same texts.
TEST(TheTwoExes, CarryTheSameResourcesAndTexts) {
    const BuiltExe& win64 = kBuiltExes[0];
    const BuiltExe& win32 = kBuiltExes[1];
    for (const BuiltExe& exe : kBuiltExes)
        if (NotBuilt(exe)) GTEST_SKIP() << "not built: " << exe.path;
    HMODULE modules[2] = {LoadLibraryExA(win64.path, nullptr, LOAD_LIBRARY_AS_DATAFILE),
                          LoadLibraryExA(win32.path, nullptr, LOAD_LIBRARY_AS_DATAFILE)};
    ASSERT_NE(modules[0], nullptr);
    ASSERT_NE(modules[1], nullptr);
    const struct {
        const char* what;
        LPCSTR type;
        int id;
    } resources[] = {
        {"icon group", RT_GROUP_ICON, IDI_KELVARO},
        {"icon image", RT_ICON, IDI_KELVARO_IMAGE},
        {"banner", RT_RCDATA, IDR_BANNER},
        {"version record", RT_VERSION, 1},
        {"manifest", RT_MANIFEST, 1},
    };
    for (const auto& resource : resources) {
        const Bytes bytes[2] = {ResourceBytes(modules[0], resource.type, resource.id),
                                ResourceBytes(modules[1], resource.type, resource.id)};
        EXPECT_FALSE(bytes[0].empty()) << resource.what;
        EXPECT_EQ(bytes[0], bytes[1]) << resource.what;
    }
    for (HMODULE module : modules) FreeLibrary(module);

    const std::string files[2] = {FileBytes(win64.path), FileBytes(win32.path)};
    for (std::string_view text : LauncherTexts()) {
        EXPECT_NE(files[0].find(text), std::string::npos)
            << win64.name << " lacks \"" << text << '"';
        EXPECT_NE(files[1].find(text), std::string::npos)
            << win32.name << " lacks \"" << text << '"';
    }
}

// This test program carries a banner resource that is not a picture.
TEST(LoadBanner, GivesNothingForAMissingOrUndecodableBanner) {
    struct Row {
        const char* what;
        HMODULE module;
    } rows[] = {
        {"a module without a banner", GetModuleHandleA("kernel32.dll")},
        {"a banner that is not a picture", GetModuleHandleA(nullptr)},
    };
    const ComApartment com;
    for (const Row& row : rows) {
        HBITMAP banner = LoadBanner(row.module);
        EXPECT_EQ(banner, nullptr) << row.what;
        if (banner != nullptr) DeleteObject(banner);
    }
}

}  // namespace
}  // namespace kelvaro
