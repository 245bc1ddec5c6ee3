// The registry path reader against the real registry: values are written
// with the registry's own calls and read back through WinRegistry.
#include <gtest/gtest.h>

#include <string>

#include "reg_keys.h"
#include "texts.h"
#include "win_services.h"

namespace kelvaro {
namespace {

// A key made for one test and deleted afterwards with everything under it,
// and with those of its parents below the top level that it leaves empty.
struct ScratchKey {
    ScratchKey(HKEY hive, std::string path, REGSAM view) : hive(hive), path(path), view(view) {
        EXPECT_EQ(RegCreateKeyExA(hive, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS)
            << path;
    }
    ~ScratchKey() {
        RegDeleteTreeA(key, nullptr);
        RegCloseKey(key);
        for (std::string name = path; name.find('\\') != std::string::npos;
             name.erase(name.rfind('\\'))) {
            if (RegDeleteKeyExA(hive, name.c_str(), view, 0) != ERROR_SUCCESS) break;
        }
    }
    void Set(const char* subKey, const char* name, DWORD type, const std::string& bytes) {
        ASSERT_EQ(RegSetKeyValueA(key, subKey, name, type, bytes.data(),
                                  static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS)
            << name;
    }
    HKEY hive;
    std::string path;
    REGSAM view;
    HKEY key = nullptr;
};

std::string Dword(DWORD number) {
    return std::string(reinterpret_cast<const char*>(&number), sizeof number);
}

std::string Terminated(const std::string& text) {
    return text + std::string(1, '\0');
}

TEST(WinRegistry, ReadsEveryKindOfValueThroughThePathReader) {
    ScratchKey scratch(HKEY_CURRENT_USER, "Software\\KelvaroTest", 0);
    const std::string longest(1023, 'x');
    struct Row {
        const char* what;
        const char* subKey;
        const char* name;
        DWORD type;
        std::string bytes;
        const char* path;
        std::string text;
    } rows[] = {
        {"text", nullptr, "Plain", REG_SZ, Terminated("C:\\Games\\Generals\\"),
         "HKEY_CURRENT_USER\\Software\\KelvaroTest\\Plain", "C:\\Games\\Generals\\"},
        {"lower-case hive", nullptr, "Plain", REG_SZ, Terminated("C:\\Games\\Generals\\"),
         "hkey_current_user\\Software\\KelvaroTest\\Plain", "C:\\Games\\Generals\\"},
        {"1023 characters", nullptr, "Longest", REG_SZ, Terminated(longest),
         "HKEY_CURRENT_USER\\Software\\KelvaroTest\\Longest", longest},
        {"over 1024 bytes", nullptr, "TooLong", REG_SZ, Terminated(std::string(1024, 'y')),
         "HKEY_CURRENT_USER\\Software\\KelvaroTest\\TooLong", ""},
        {"unexpanded", nullptr, "Expand", REG_EXPAND_SZ, Terminated("%SystemRoot%\\x"),
         "HKEY_CURRENT_USER\\Software\\KelvaroTest\\Expand", "%SystemRoot%\\x"},
        {"dword 0", nullptr, "D0", REG_DWORD, Dword(0),
         "HKEY_CURRENT_USER\\Software\\KelvaroTest\\D0", "0"},
        {"dword 5", nullptr, "D5", REG_DWORD, Dword(5),
         "HKEY_CURRENT_USER\\Software\\KelvaroTest\\D5", "5"},
        {"dword 256", nullptr, "D256", REG_DWORD, Dword(256),
         "HKEY_CURRENT_USER\\Software\\KelvaroTest\\D256", "256"},
        {"dword 65536", nullptr, "D65536", REG_DWORD, Dword(65536),
         "HKEY_CURRENT_USER\\Software\\KelvaroTest\\D65536", "65536"},
        {"multi", nullptr, "Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5),
         "HKEY_CURRENT_USER\\Software\\KelvaroTest\\Multi", ""},
        {"binary", nullptr, "Binary", REG_BINARY, Terminated("abc"),
         "HKEY_CURRENT_USER\\Software\\KelvaroTest\\Binary", ""},
        {"empty text", nullptr, "Empty", REG_SZ, Terminated(""),
         "HKEY_CURRENT_USER\\Software\\KelvaroTest\\Empty", ""},
        {"default value", "Sub", "", REG_SZ, Terminated("default of Sub"),
         "HKEY_CURRENT_USER\\Software\\KelvaroTest\\Sub\\", "default of Sub"},
        {"missing value", nullptr, "Other", REG_SZ, Terminated("x"),
         "HKEY_CURRENT_USER\\Software\\KelvaroTest\\Missing", ""},
        {"missing key", nullptr, "Other", REG_SZ, Terminated("x"),
         "HKEY_CURRENT_USER\\Software\\KelvaroTest\\Nowhere\\Other", ""},
    };
    WinRegistry registry;
    for (const Row& row : rows) {
        scratch.Set(row.subKey, row.name, row.type, row.bytes);
        EXPECT_EQ(RegKeys::ReadRegistryPath(registry, row.path), row.text) << row.what;
    }
}

// The game's 32-bit installer writes into the 32-bit view; a 64-bit build
// must read that view too, not the 64-bit one.
TEST(WinRegistry, ReadsTheGamesInstallPathFromThe32BitView) {
    const char* key = "SOFTWARE\\Electronic Arts\\EA Games\\Generals";
    ScratchKey view32(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY);
    ScratchKey view64(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY);
    view32.Set(nullptr, "InstallPath", REG_SZ, Terminated("C:\\Games\\Generals\\"));
    view64.Set(nullptr, "InstallPath", REG_SZ, Terminated("C:\\Wrong view\\"));

    WinRegistry registry;
    EXPECT_EQ(RegKeys::ReadRegistryPath(registry, texts::kInstallPathKey), "C:\\Games\\Generals\\");
}

TEST(WinRegistry, PassesTheRegistrysOwnResultCodesBack) {
    WinRegistry registry;
    RegHandle key = 1;
    EXPECT_EQ(registry.OpenKey(0x80000001, "Software\\KelvaroTest\\Nowhere", 0,
                               RegKeys::kAccessMask, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, 0u);

    ScratchKey scratch(HKEY_CURRENT_USER, "Software\\KelvaroTest", 0);
    scratch.Set(nullptr, "Long", REG_SZ, Terminated(std::string(2000, 'z')));
    ASSERT_EQ(
        registry.OpenKey(0x80000001, "Software\\KelvaroTest\\", 0, RegKeys::kAccessMask, &key),
        ERROR_SUCCESS);
    unsigned char data[16] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof data;
    EXPECT_EQ(registry.QueryValue(key, "Long", &type, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(registry.QueryValue(key, "Nope", &type, data, &size), ERROR_FILE_NOT_FOUND);
    registry.CloseKey(key);
}

}  // namespace
}  // namespace kelvaro
