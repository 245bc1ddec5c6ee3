#include "dpi.h"

#include "dll_search.h"

namespace kelvaro {

namespace {

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and PROCESS_PER_MONITOR_DPI_AWARE,
// which the headers declare only for newer Windows targets than ours.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
constexpr int kProcessPerMonitorDpiAware = 2;

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

DpiAwareness DeclareDpiAwareness(const DpiAwarenessFunctions& functions) {
    // Each call fails once the awareness is set, as a compatibility setting
    // may have done; the next one is then refused as well, and nothing changes.
    if (functions.setProcessDpiAwarenessContext != nullptr &&
        functions.setProcessDpiAwarenessContext(kPerMonitorAwareV2)) {
        return DpiAwareness::PerMonitorV2;
    }
    if (functions.setProcessDpiAwareness != nullptr &&
        SUCCEEDED(functions.setProcessDpiAwareness(kProcessPerMonitorDpiAware))) {
        return DpiAwareness::PerMonitor;
    }
    if (functions.setProcessDpiAware != nullptr && functions.setProcessDpiAware()) {
        return DpiAwareness::System;
    }
    return DpiAwareness::None;
}

DpiAwareness DeclareDpiAwareness() {
    DpiAwarenessFunctions functions = {};
    functions.setProcessDpiAwarenessContext =
        SystemFunction<decltype(functions.setProcessDpiAwarenessContext)>(
            "user32.dll", "SetProcessDpiAwarenessContext");
    // shcore (Windows 8.1 to 10 1607) is loaded only where v2 is missing.
    if (functions.setProcessDpiAwarenessContext == nullptr) {
        functions.setProcessDpiAwareness =
            SystemFunction<decltype(functions.setProcessDpiAwareness)>("shcore.dll",
                                                                       "SetProcessDpiAwareness");
    }
    functions.setProcessDpiAware =
        SystemFunction<decltype(functions.setProcessDpiAware)>("user32.dll", "SetProcessDPIAware");
    return DeclareDpiAwareness(functions);
}

int DpiOf(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        SystemFunction<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow");
    const UINT dpi = window != nullptr && getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : ScreenDpi();
}

void AdjustFrameForDpi(RECT* client, DWORD style, int dpi) {
    using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi =
        SystemFunction<AdjustWindowRectExForDpiFn>("user32.dll", "AdjustWindowRectExForDpi");
    if (adjustForDpi == nullptr || !adjustForDpi(client, style, FALSE, 0, static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(client, style, FALSE, 0);
    }
}

void ScaleFrameWithDpi(HWND window) {
    using EnableNonClientDpiScalingFn = BOOL(WINAPI*)(HWND);
    static const auto enableNonClientDpiScaling =
        SystemFunction<EnableNonClientDpiScalingFn>("user32.dll", "EnableNonClientDpiScaling");
    if (enableNonClientDpiScaling != nullptr) enableNonClientDpiScaling(window);
}

}  // namespace kelvaro
