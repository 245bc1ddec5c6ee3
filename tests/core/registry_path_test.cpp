#include <gtest/gtest.h>

#include "memory_registry.h"
#include "reg_keys.h"

namespace kelvaro {
namespace {

constexpr std::uint32_t kHkcr = 0x80000000;
constexpr std::uint32_t kHkcu = 0x80000001;
constexpr std::uint32_t kHklm = 0x80000002;
constexpr std::uint32_t kHku = 0x80000003;

TEST(RegistryPath, SplitsHiveKeyAndValue) {
    struct Row {
        const char* path;
        const char* hive;
        const char* key;
        const char* value;
    } rows[] = {
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Electronic Arts\\EA Games\\Generals\\InstallPath",
         "HKEY_LOCAL_MACHINE", "SOFTWARE\\Electronic Arts\\EA Games\\Generals\\", "InstallPath"},
        {"HKEY_USERS\\A\\B\\", "HKEY_USERS", "A\\B\\", ""},
        {"HKEY_CURRENT_USER\\Name", "HKEY_CURRENT_USER", "", "Name"},
        {"HKEY_CLASSES_ROOT", "HKEY_CLASSES_ROOT", "", "HKEY_CLASSES_ROOT"},
        {"HKEY_USERS\\A\\\\B\\V", "HKEY_USERS", "A\\\\B\\", "V"},
        {"\\SOFTWARE\\V", "", "SOFTWARE\\", "V"},
        {"", "", "", ""},
    };
    for (const Row& row : rows) {
        RegKeys::RegistryPath parts = RegKeys::SplitRegistryPath(row.path);
        EXPECT_EQ(parts.hiveName, row.hive) << row.path;
        EXPECT_EQ(parts.keyPath, row.key) << row.path;
        EXPECT_EQ(parts.valueName, row.value) << row.path;
    }
}

TEST(RegistryPath, KnowsOnlyTheFourLongHiveNamesInAnyCase) {
    struct Row {
        const char* name;
        std::optional<std::uint32_t> handle;
    } rows[] = {
        {"HKEY_CURRENT_USER", kHkcu},
        {"HKEY_LOCAL_MACHINE", kHklm},
        {"hkey_local_machine", kHklm},
        {"Hkey_Local_Machine", kHklm},
        {"HKEY_CLASSES_ROOT", kHkcr},
        {"HKEY_USERS", kHku},
        {"HKLM", std::nullopt},
        {"HKCU", std::nullopt},
        {"HKEY_CURRENT_CONFIG", std::nullopt},
        {"", std::nullopt},
        {"HKEY_LOCAL_MACHINE ", std::nullopt},
    };
    for (const Row& row : rows) EXPECT_EQ(RegKeys::HiveHandle(row.name), row.handle) << row.name;
}

TEST(RegistryPath, UnknownHiveNeverTouchesTheRegistry) {
    MemoryRegistry registry;
    for (const char* path : {"HKLM\\SOFTWARE\\V", "HKEY_CURRENT_CONFIG\\V", "\\SOFTWARE\\V", ""}) {
        EXPECT_EQ(RegKeys::ReadRegistryPath(registry, path), "") << path;
    }
    EXPECT_TRUE(registry.calls.empty());
}

TEST(RegistryPath, OpensForReadingOnlyAndClosesEveryKeyItOpened) {
    MemoryRegistry registry;
    registry.SetString(kHklm, "SOFTWARE\\Electronic Arts\\EA Games\\Generals", "InstallPath",
                       "C:\\Games\\Generals\\");
    EXPECT_EQ(RegKeys::ReadRegistryPath(
                  registry,
                  "HKEY_LOCAL_MACHINE\\SOFTWARE\\Electronic Arts\\EA Games\\Generals\\InstallPath"),
              "C:\\Games\\Generals\\");
    ASSERT_EQ(registry.calls.size(), 3u);
    EXPECT_EQ(registry.calls[0].what, "open");
    EXPECT_EQ(registry.calls[0].hive, kHklm);
    EXPECT_EQ(registry.calls[0].text, "SOFTWARE\\Electronic Arts\\EA Games\\Generals\\");
    EXPECT_EQ(registry.calls[0].access, 0x20019u);
    EXPECT_EQ(registry.calls[1].text, "InstallPath");
    EXPECT_EQ(registry.calls[2].what, "close");
    EXPECT_EQ(registry.OpenHandles(), 0u);

    // A missing value still closes its key; a missing key has nothing to close.
    EXPECT_EQ(RegKeys::ReadRegistryPath(registry, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Nope"), "");
    EXPECT_EQ(registry.calls.back().what, "close");
    registry.calls.clear();
    EXPECT_EQ(RegKeys::ReadRegistryPath(registry, "HKEY_LOCAL_MACHINE\\Missing\\Key\\V"), "");
    ASSERT_EQ(registry.calls.size(), 1u);
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

std::vector<unsigned char> Bytes(const std::string& text) {
    return std::vector<unsigned char>(text.begin(), text.end());
}

TEST(RegistryPath, DecodesValuesByType) {
    const std::string longest(1023, 'x');
    struct Row {
        const char* what;
        std::uint32_t type;
        std::vector<unsigned char> data;
        std::string text;
    } rows[] = {
        {"text", 1, Bytes(std::string("C:\\Games\\Generals\\\0", 19)), "C:\\Games\\Generals\\"},
        {"text without terminator", 1, Bytes("abc"), "abc"},
        {"text cut at its first zero", 1, Bytes(std::string("ab\0cd\0", 6)), "ab"},
        {"empty text", 1, Bytes(std::string("\0", 1)), ""},
        {"1023 characters", 1, Bytes(longest + std::string("\0", 1)), longest},
        {"1024 bytes without zero", 1, Bytes(std::string(1024, 'y')), std::string(1024, 'y')},
        {"over 1024 bytes", 1, Bytes(std::string(1024, 'z') + std::string("\0", 1)), ""},
        {"unexpanded", 2, Bytes(std::string("%SystemRoot%\\x\0", 15)), "%SystemRoot%\\x"},
        {"dword 0", 4, {0, 0, 0, 0}, "0"},
        {"dword 5", 4, {5, 0, 0, 0}, "5"},
        {"dword 256", 4, {0, 1, 0, 0}, "256"},
        {"dword 65536", 4, {0, 0, 1, 0}, "65536"},
        {"dword high bit", 4, {0xff, 0xff, 0xff, 0xff}, "4294967295"},
        {"binary", 3, Bytes(std::string("abc\0", 4)), ""},
        {"multi", 7, Bytes(std::string("a\0b\0\0", 5)), ""},
        {"none", 0, Bytes("abc"), ""},
    };
    for (const Row& row : rows) {
        MemoryRegistry registry;
        registry.SetValue(kHkcu, "Software\\Kelvaro", "Value", row.type, row.data);
        EXPECT_EQ(
            RegKeys::ReadRegistryPath(registry, "HKEY_CURRENT_USER\\Software\\Kelvaro\\Value"),
            row.text)
            << row.what;
    }
}

TEST(RegistryPath, ReadsDefaultValuesAndRootValues) {
    MemoryRegistry registry;
    registry.SetString(kHku, "A\\B", "", "default of A\\B");
    registry.SetString(kHkcu, "", "Name", "root value");
    EXPECT_EQ(RegKeys::ReadRegistryPath(registry, "HKEY_USERS\\A\\B\\"), "default of A\\B");
    EXPECT_EQ(RegKeys::ReadRegistryPath(registry, "hkey_current_user\\Name"), "root value");
    EXPECT_EQ(RegKeys::ReadRegistryPath(registry, "HKEY_CURRENT_USER"), "");

    registry.DenyAccess(kHkcu, "Locked");
    registry.SetString(kHkcu, "Locked", "V", "secret");
    EXPECT_EQ(RegKeys::ReadRegistryPath(registry, "HKEY_CURRENT_USER\\Locked\\V"), "");
}

}  // namespace
}  // namespace kelvaro
