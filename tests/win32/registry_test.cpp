// The registry path reader against the real registry: values are written
// with the registry's own calls and read back through WinRegistry.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "reg_keys.h"
#include "texts.h"
#include "win_registry.h"

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
        const char* name;  // also the path below HKEY_CURRENT_USER\Software\KelvaroTest
        DWORD type;
        std::string bytes;
        std::string text;
    } rows[] = {
        {"Plain", REG_SZ, Terminated("C:\\Games\\Generals\\"), "C:\\Games\\Generals\\"},
        {"1023 characters", REG_SZ, Terminated(longest), longest},
        {"over 1024 bytes", REG_SZ, Terminated(std::string(1024, 'y')), ""},
        {"unexpanded", REG_EXPAND_SZ, Terminated("%SystemRoot%\\x"), "%SystemRoot%\\x"},
        {"dword 0", REG_DWORD, Dword(0), "0"},
        {"dword 5", REG_DWORD, Dword(5), "5"},
        {"dword 256", REG_DWORD, Dword(256), "256"},
        {"dword 65536", REG_DWORD, Dword(65536), "65536"},
        {"multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5), ""},
        {"binary", REG_BINARY, Terminated("abc"), ""},
        {"empty text", REG_SZ, Terminated(""), ""},
    };
    const std::string key = "HKEY_CURRENT_USER\\Software\\KelvaroTest\\";
    WinRegistry registry;
    for (const Row& row : rows) {
        scratch.Set(nullptr, row.name, row.type, row.bytes);
        EXPECT_EQ(RegKeys::ReadRegistryPath(registry, key + row.name), row.text) << row.name;
    }
    scratch.Set("Sub", "", REG_SZ, Terminated("default of Sub"));
    EXPECT_EQ(RegKeys::ReadRegistryPath(registry, key + "Sub\\"), "default of Sub");
    EXPECT_EQ(
        RegKeys::ReadRegistryPath(registry, "hkey_current_user\\Software\\KelvaroTest\\Plain"),
        "C:\\Games\\Generals\\");
    EXPECT_EQ(RegKeys::ReadRegistryPath(registry, key + "Nope"), "");
    EXPECT_EQ(RegKeys::ReadRegistryPath(registry, key + "Nowhere\\Plain"), "");
}

// The game's 32-bit installer writes into the 32-bit view (WOW6432Node on
// 64-bit Windows); either build reads that view, the i686 one without naming
// it, and never the 64-bit one, which that installer does not write.
TEST(WinRegistry, ReadsTheGamesInstallPathFromThe32BitViewOnly) {
    const char* key = "SOFTWARE\\Electronic Arts\\EA Games\\Generals";
    const struct {
        const char* name;
        const char* in32;  // the value in each view; null: no key there
        const char* in64;
        std::string found;
    } rows[] = {
        {"32-bit view", "C:\\Games\\Generals\\", nullptr, "C:\\Games\\Generals\\"},
        {"both views", "C:\\Games\\Generals\\", "C:\\Wrong view\\", "C:\\Games\\Generals\\"},
        {"64-bit view only", nullptr, "C:\\Wrong view\\", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // The end-to-end sandbox of the same prefix leaves its key behind.
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY, 0);
        std::optional<ScratchKey> view32, view64;
        if (row.in32) view32.emplace(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY);
        if (row.in64) view64.emplace(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY);
        if (view32) view32->Set(nullptr, "InstallPath", REG_SZ, Terminated(row.in32));
        if (view64) view64->Set(nullptr, "InstallPath", REG_SZ, Terminated(row.in64));

        WinRegistry registry;
        EXPECT_EQ(RegKeys::ReadRegistryPath(registry, texts::kInstallPathKey), row.found);
    }
}

// Read rights only, in both builds: nothing can be written through the key.
TEST(WinRegistry, OpensForReadingOnly) {
    ScratchKey scratch(HKEY_CURRENT_USER, "Software\\KelvaroTest", 0);
    WinRegistry registry;
    RegHandle key = 0;
    ASSERT_EQ(registry.OpenKey(0x80000001, "Software\\KelvaroTest", 0, RegKeys::kAccessMask, &key),
              ERROR_SUCCESS);
    const DWORD value = 1;
    const LONG written = RegSetValueExA(reinterpret_cast<HKEY>(key), "Written", 0, REG_DWORD,
                                        reinterpret_cast<const BYTE*>(&value), sizeof value);
    registry.CloseKey(key);
    EXPECT_EQ(written, ERROR_ACCESS_DENIED);
}

}  // namespace
}  // namespace kelvaro
