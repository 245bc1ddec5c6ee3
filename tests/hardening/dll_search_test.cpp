// Once the DLL search is restricted, a DLL named without a path comes only
// from system32: not from beside the exe, not from the current folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "dll_search.h"

namespace kelvaro {
namespace {

std::filesystem::path ExeFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

TEST(DllSearch, FindsDllsNamedWithoutAPathOnlyInSystem32) {
    const std::filesystem::path beside = ExeFolder() / KELVARO_PROBE_DLL;
    ASSERT_TRUE(std::filesystem::exists(beside)) << beside;
    const std::filesystem::path current =
        std::filesystem::temp_directory_path() / "kelvaro-dll-search";
    std::filesystem::create_directories(current);
    std::filesystem::copy_file(beside, current / "kelvaro_current_probe.dll",
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(SetCurrentDirectoryA(current.string().c_str()));

    RestrictDllSearch();

    struct Row {
        const char* what;
        std::string name;
        bool loads;
    } rows[] = {
        // By name first: once loaded, a module is found by name whatever the search order.
        {"a DLL beside the exe, by name", KELVARO_PROBE_DLL, false},
        {"a DLL in the current folder, by name", "kelvaro_current_probe.dll", false},
        {"a system DLL, by name", "version.dll", true},
        {"the DLL beside the exe, by its full path", beside.string(), true},
    };
    for (const Row& row : rows) {
        HMODULE module = LoadLibraryA(row.name.c_str());
        DWORD error = GetLastError();
        EXPECT_EQ(module != nullptr, row.loads) << row.what << " (error " << error << ")";
        if (module != nullptr) FreeLibrary(module);
    }

    SetCurrentDirectoryA(ExeFolder().string().c_str());
    std::filesystem::remove_all(current);
}

}  // namespace
}  // namespace kelvaro
