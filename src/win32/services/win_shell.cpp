#include "win_shell.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

namespace kelvaro {

namespace {

constexpr int kPathAreaSize = 512;

}  // namespace

std::string WinShell::GetSpecialFolder(int folderId) {
    LPITEMIDLIST items = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, folderId, &items) != S_OK) return std::string();

    char area[kPathAreaSize];
    std::memset(area, ' ', sizeof area);
    SHGetPathFromIDListA(items, area);
    CoTaskMemFree(items);

    // An area that the shell left without a terminator holds no path.
    size_t length = strnlen(area, sizeof area);
    if (length == sizeof area) return std::string();
    std::string path(area, length);
    // Windows ends only a drive's root ("D:\") with a backslash; Wine's shell
    // ends ordinary folders with one too, and the caller adds its own.
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

void WinShell::OpenWebPage(const std::string& target) {
    ShellExecuteA(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// comctl32 is the version the manifest asks for (6, with the system's look),
// which Windows takes from its own store of assemblies by the name alone,
// before any search of folders: a comctl32.dll planted beside the launcher is
// never used. By its path in the system folder it would be the old version 5.
void WinShell::InitControlStyles() {
    using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    HMODULE comctl32 = LoadLibraryA("comctl32.dll");
    auto initCommonControlsEx =
        comctl32 == nullptr ? nullptr
                            : reinterpret_cast<InitCommonControlsExFn>(reinterpret_cast<void (*)()>(
                                  GetProcAddress(comctl32, "InitCommonControlsEx")));
    if (initCommonControlsEx == nullptr) return;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_INTERNET_CLASSES};
    initCommonControlsEx(&classes);
}

}  // namespace kelvaro
