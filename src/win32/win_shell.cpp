#include "win_services.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "dll_search.h"

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

// comctl32 is not one of the DLLs that Windows always takes from its own
// folder, so it is loaded from there by full path rather than imported: a
// comctl32.dll planted beside the launcher is never used.
void WinShell::InitControlStyles() {
    using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto initCommonControlsEx =
        SystemFunction<InitCommonControlsExFn>("comctl32.dll", "InitCommonControlsEx");
    if (initCommonControlsEx == nullptr) return;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_INTERNET_CLASSES};
    initCommonControlsEx(&classes);
}

}  // namespace kelvaro
