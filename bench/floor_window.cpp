// The floor of the benchmark: everything the launcher must do before its
// window shows, in the launcher's order and with its own leaf functions and
// table, but none of its own structure (no window objects, no launcher
// logic, no services behind interfaces):
//
//  1. the DLL-search restriction, the DPI awareness, the COM apartment and
//     comctl32's InitCommonControlsEx;
//  2. the window class with the application icon, the window centred at the
//     display's DPI, and, as it is created, the fonts by the launcher's rule
//     (its bitmap size looked for, two fonts made), every control of the
//     layout table in its scaled box with its font (one-line captions
//     measured), the high-contrast question and the banner decoded;
//  3. the documents folder, the game's registry entry, tier 10 selected
//     (its option checked, its description shown), the game's INI folder
//     hidden and the look for a left-over AI script;
//  4. the window shown and painted.
//
// Its "Start Generals" button is the floor of the launcher's click: the same
// button, with the same manifest, reached by the same message, does the
// checks that the launcher must make for tier 10 (the game program is there)
// and starts the game as the launcher does.
//
// Closing it puts the INI folder back, so that the next run of any program
// finds the game folder as it was.
#include <windows.h>

#include <objbase.h>

#include <string>

#include "banner.h"
#include "dll_search.h"
#include "dpi.h"
#include "layout.h"
#include "reg_keys.h"
#include "resource_ids.h"
#include "text_font.h"
#include "texts.h"
#include "tiers.h"
#include "win_registry.h"
#include "win_shell.h"

namespace {

namespace layout = kelvaro::layout;
namespace texts = kelvaro::texts;

constexpr char kClassName[] = "KelvaroFloorWindow";
constexpr char kCaption[] = "Floor window";

struct Floor {
    HINSTANCE instance = nullptr;
    int dpi = USER_DEFAULT_SCREEN_DPI;
    HFONT font = nullptr;
    HFONT linkFont = nullptr;
    HBITMAP banner = nullptr;
    bool highContrast = false;
    std::string gameFolder;
};
Floor state;

int ToDpi(int value) {
    return MulDiv(value, state.dpi, USER_DEFAULT_SCREEN_DPI);
}

void CreateControls(HWND window) {
    for (const layout::ControlLayout& row : layout::ControlsOf(layout::Form::MainFrm)) {
        HFONT font = row.font == layout::Font::Link ? state.linkFont : state.font;
        int left = ToDpi(row.left), right = ToDpi(row.left + row.width);
        if (layout::IsOneLineLabel(row))
            right = std::max(right, left + kelvaro::CaptionWidth(row.text, font));
        HWND control = CreateWindowExA(
            row.exStyle, row.className, std::string(row.text).c_str(),
            WS_CHILD | WS_VISIBLE | row.style, left, ToDpi(row.top), right - left,
            ToDpi(row.top + row.height) - ToDpi(row.top), window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), state.instance, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

void OnCreate(HWND window) {
    state.dpi = kelvaro::DpiOf(window);
    HIGHCONTRASTA highContrast = {sizeof highContrast, 0, nullptr};
    state.highContrast =
        SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) &&
        (highContrast.dwFlags & HCF_HIGHCONTRASTON);
    const kelvaro::TextFonts fonts = kelvaro::CreateTextFonts(state.dpi);
    state.font = fonts.text;
    state.linkFont = fonts.link;
    CreateControls(window);
    state.banner = kelvaro::LoadBanner(state.instance);
}

void SelectTier10(HWND window) {
    SendMessageA(GetDlgItem(window, layout::TechId(10)), BM_SETCHECK, BST_CHECKED, 0);
    SetWindowTextA(GetDlgItem(window, layout::kLabel1),
                   std::string(kelvaro::TierAt(10).description).c_str());
}

void Load(HWND window, kelvaro::WinShell& shell) {
    kelvaro::WinRegistry registry;
    shell.GetSpecialFolder(texts::kDocumentsFolderId);
    state.gameFolder = kelvaro::RegKeys::ReadRegistryPath(registry, texts::kInstallPathKey);
    SelectTier10(window);
    MoveFileA((state.gameFolder + std::string(texts::kIniFolder)).c_str(),
              (state.gameFolder + std::string(texts::kHiddenIniFolder)).c_str());
    GetFileAttributesA((state.gameFolder + std::string(texts::kScriptBackup)).c_str());
}

// Tier 10 needs no archive: the game program must be a file, and is started
// with the launcher's command line and start-up information.
void StartGame() {
    const std::string program = state.gameFolder + std::string(texts::kGameProgram);
    const DWORD attributes = GetFileAttributesA(program.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
        return;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate(window);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == layout::kCommand1 && HIWORD(wParam) == BN_CLICKED) StartGame();
            return 0;
        case WM_DESTROY:
            MoveFileA((state.gameFolder + std::string(texts::kHiddenIniFolder)).c_str(),
                      (state.gameFolder + std::string(texts::kIniFolder)).c_str());
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HICON LoadAppIcon(int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageA(state.instance, MAKEINTRESOURCEA(IDI_KELVARO), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), LR_SHARED));
}

HWND CreateFloorWindow() {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = state.instance;
    windowClass.hIcon = LoadAppIcon(SM_CXICON, SM_CYICON);
    windowClass.hIconSm = LoadAppIcon(SM_CXSMICON, SM_CYSMICON);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExA(&windowClass)) return nullptr;

    const layout::FormLayout& form = layout::FormOf(layout::Form::MainFrm);
    state.dpi = kelvaro::DpiOf(nullptr);
    RECT frame = {0, 0, ToDpi(form.clientWidth), ToDpi(form.clientHeight)};
    kelvaro::AdjustFrameForDpi(&frame, form.style, state.dpi);
    RECT screen;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    return CreateWindowExA(0, kClassName, kCaption, form.style,
                           screen.left + (screen.right - screen.left - width) / 2,
                           screen.top + (screen.bottom - screen.top - height) / 2, width, height,
                           nullptr, nullptr, state.instance, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    state.instance = instance;
    kelvaro::RestrictDllSearch();
    kelvaro::DeclareDpiAwareness();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);  // to the end
    kelvaro::WinShell shell;
    shell.InitControlStyles();
    HWND window = CreateFloorWindow();
    if (window == nullptr) return 1;
    Load(window, shell);
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
