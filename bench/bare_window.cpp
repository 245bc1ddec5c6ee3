// The yardsticks of the benchmark. The bare window is the least a Win32
// program does to show a window of the launcher's size and style: it
// registers a class, creates a window with a 361 x 280 client area and a
// caption, shows it and runs a message loop until the window is closed.
//
// The floor (built with KELVARO_FLOOR) is the bare window plus what the
// launcher must do before its window shows, with the launcher's own code and
// in its order: the DLL-search restriction, the DPI awareness, the COM
// apartment, comctl32's InitCommonControlsEx, then, with the window created,
// the banner JPEG decoded from the same resource, the documents folder and
// the game's registry entry.
#include <windows.h>

#ifdef KELVARO_FLOOR
#include <objbase.h>

#include <string>

#include "banner.h"
#include "dll_search.h"
#include "dpi.h"
#include "reg_keys.h"
#include "texts.h"
#include "win_services.h"
#endif

namespace {

#ifdef KELVARO_FLOOR
constexpr char kClassName[] = "KelvaroFloorWindow";
constexpr char kCaption[] = "Floor window";
#else
constexpr char kClassName[] = "KelvaroBareWindow";
constexpr char kCaption[] = "Bare window";
#endif
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

#ifdef KELVARO_FLOOR
void BeforeWindow(kelvaro::WinShell& shell) {
    kelvaro::RestrictDllSearch();
    kelvaro::DeclareDpiAwareness();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);  // kept to the end
    shell.InitControlStyles();
}

// What the launcher holds once loaded, the banner among it, until the process ends.
struct Loaded {
    HBITMAP banner;
    std::string documents;
    std::string gameFolder;
};
Loaded loaded;

void BeforeShow(HINSTANCE instance, kelvaro::WinShell& shell) {
    kelvaro::WinRegistry registry;
    loaded.banner = kelvaro::LoadBanner(instance);
    loaded.documents = shell.GetSpecialFolder(kelvaro::texts::kDocumentsFolderId);
    loaded.gameFolder =
        kelvaro::RegKeys::ReadRegistryPath(registry, kelvaro::texts::kInstallPathKey);
}
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
#ifdef KELVARO_FLOOR
    kelvaro::WinShell shell;
    BeforeWindow(shell);
#endif
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass)) return 1;

    RECT frame = {0, 0, 361, 280};
    AdjustWindowRect(&frame, kStyle, FALSE);
    HWND window = CreateWindowA(kClassName, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, instance, nullptr);
    if (window == nullptr) return 1;
#ifdef KELVARO_FLOOR
    BeforeShow(instance, shell);
#endif
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
