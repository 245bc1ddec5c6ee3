// The launcher draws itself at the display's scale: the process says so to
// Windows before its first window, and each window asks for its own DPI.
// Every function here is looked up at run time, so that the exe still starts
// on the Windows versions that lack them.
#pragma once

#include "windows_api.h"

namespace kelvaro {

// What a process can declare, from the best (Windows 10 1703 and later) to
// the oldest (Vista). Without any, Windows stretches the 96-DPI bitmap.
enum class DpiAwareness { PerMonitorV2, PerMonitor, System, None };

// The three ways of declaring it; any may be missing (nullptr).
struct DpiAwarenessFunctions {
    BOOL(WINAPI* setProcessDpiAwarenessContext)(HANDLE context);  // user32
    HRESULT(WINAPI* setProcessDpiAwareness)(int awareness);       // shcore
    BOOL(WINAPI* setProcessDpiAware)();                           // user32
};

// Tries each in turn, the best first, until one succeeds.
DpiAwareness DeclareDpiAwareness(const DpiAwarenessFunctions& functions);

// Call in WinMain right after RestrictDllSearch, before any window exists.
DpiAwareness DeclareDpiAwareness();

// The DPI that `window` is drawn at, or the screen's when the window is null
// or Windows cannot tell a window's own.
int DpiOf(HWND window);

// The outer size of a window whose client area is `client`, at `dpi`.
void AdjustFrameForDpi(RECT* client, DWORD style, int dpi);

// For WM_NCCREATE: a window of a per-monitor (v1) aware process has its
// title bar and borders scaled with it too, where Windows can (10 1607 on;
// v2 does so by itself).
void ScaleFrameWithDpi(HWND window);

}  // namespace kelvaro
