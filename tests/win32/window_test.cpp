// The two windows created for real, with fakes behind the launcher's logic:
// every control where the player expects it, the window frames, the events
// that reach the logic and those that must not, the link's pointer, and the
// dialog as start-up shows it. The boxes are those of the tables at 96 dpi;
// ctest runs the layout cases again at 120, 144 and 192 dpi, where every box
// is expected scaled from them.
#include <gtest/gtest.h>

#include <oleacc.h>
#include <uxtheme.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "com_apartment.h"
#include "dpi.h"
#include "fakes.h"
#include "game_install.h"
#include "layout.h"
#include "link_cursor.h"
#include "main_window.h"
#include "memory_registry.h"
#include "path_window.h"
#include "pub_var.h"
#include "scripted_file_system.h"
#include "start_up.h"
#include "win_desktop.h"

namespace kelvaro::testing {
namespace {

bool gHighContrast = false;  // the tests answer for the system: Wine cannot turn it on
// What the windows ask the annotation service to tell screen readers, by
// control and as the service's property ids say it, until they take it back:
// Wine keeps none.
std::map<HWND, std::pair<std::string, long>> gAnnotations;

// Stands in for oleacc's annotation service, registered in-process with COM,
// where WinDesktop's CoCreateInstance finds it: records what is set under the
// name's and the role's property ids, and what is cleared.
class RecordingAnnotations : public IAccPropServices, public IClassFactory {
  public:
    static constexpr GUID kName = {
        0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
    static constexpr GUID kRole = {
        0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};
    static constexpr CLSID kService = {
        0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = iid == IID_IClassFactory ? static_cast<void*>(static_cast<IClassFactory*>(this))
               : iid == IID_IUnknown || iid == IID_IAccPropServices
                   ? static_cast<void*>(static_cast<IAccPropServices*>(this))
                   : nullptr;
        return *out != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** out) override {
        return QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetHwndPropStr(HWND control, DWORD, DWORD, MSAAPROPID property,
                                             LPCWSTR text) override {
        const std::wstring wide = text;
        gAnnotations[control].first =
            property == kName ? std::string(wide.begin(), wide.end()) : "<under another id>";
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHwndProp(HWND control, DWORD, DWORD, MSAAPROPID property,
                                          VARIANT value) override {
        gAnnotations[control].second = property == kRole && value.vt == VT_I4 ? value.lVal : -1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ClearHwndProps(HWND control, DWORD, DWORD, const MSAAPROPID* ids,
                                             int count) override {
        if (count == 2 && ids[0] == kName && ids[1] == kRole) gAnnotations.erase(control);
        return S_OK;
    }
    // What the windows never ask.
#define KELVARO_UNASKED(method, ...)                         \
    HRESULT STDMETHODCALLTYPE method(__VA_ARGS__) override { \
        return E_NOTIMPL;                                    \
    }
    KELVARO_UNASKED(SetPropValue, const BYTE*, DWORD, MSAAPROPID, VARIANT)
    KELVARO_UNASKED(SetPropServer, const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                    AnnoScope)
    KELVARO_UNASKED(ClearProps, const BYTE*, DWORD, const MSAAPROPID*, int)
    KELVARO_UNASKED(SetHwndPropServer, HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                    AnnoScope)
    KELVARO_UNASKED(ComposeHwndIdentityString, HWND, DWORD, DWORD, BYTE**, DWORD*)
    KELVARO_UNASKED(DecomposeHwndIdentityString, const BYTE*, DWORD, HWND*, DWORD*, DWORD*)
    KELVARO_UNASKED(SetHmenuProp, HMENU, DWORD, MSAAPROPID, VARIANT)
    KELVARO_UNASKED(SetHmenuPropStr, HMENU, DWORD, MSAAPROPID, LPCWSTR)
    KELVARO_UNASKED(SetHmenuPropServer, HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                    AnnoScope)
    KELVARO_UNASKED(ClearHmenuProps, HMENU, DWORD, const MSAAPROPID*, int)
    KELVARO_UNASKED(ComposeHmenuIdentityString, HMENU, DWORD, BYTE**, DWORD*)
    KELVARO_UNASKED(DecomposeHmenuIdentityString, const BYTE*, DWORD, HMENU*, DWORD*)
#undef KELVARO_UNASKED
} gAnnotationService;

// The desktop as Windows answers, and as the tests answer where Wine cannot.
class RecordingDesktop : public WinDesktop {
  public:
    bool HighContrastOn() override { return WinDesktop::HighContrastOn() || gHighContrast; }
};

constexpr char kTier3[] =
    "Everything from Tech level 2 plus the basic defense buildings are available.";
constexpr char kTier10[] = "Normal Generals, no build or train restrictions.";
constexpr char kNotLocated[] =
    "Kelvaro Mod was unable to locate the C&C Generals directory, make sure Generals is "
    "installed correctly!";

// A machine without the game: every look-up misses and every change fails.
class NoGame : public FileSystem {
  public:
    Entry Lookup(const std::string&) override { return Entry::Missing; }
    Change Rename(const std::string&, const std::string&) override { return Change::Failed; }
    Change Delete(const std::string&) override { return Change::Failed; }
    Change Copy(const std::string&, const std::string&) override { return Change::Failed; }
    bool SameBytes(const std::string&, const std::string&) override { return false; }
};

class TestMainWindow : public MainWindow {
  public:
    using MainWindow::MainWindow;
    // Where `stops`, the end of the process also ends what called it, as
    // ExitProcess does; only where the launcher's own code alone lies between.
    void EndProcess() override {
        ++ends;
        if (stops) throw Killed{};
    }
    int ends = 0;
    bool stops = false;
};

std::string Text(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The display's DPI, which the launcher's windows are drawn at.
int DisplayDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

long Scale(long value, int dpi) {
    return MulDiv(value, dpi, 96);
}

// A box of the tables (left, top, width, height) in pixels at `dpi`: its
// edges are scaled, so that neighbours keep their gaps.
std::array<long, 4> ScaledBox(const std::array<long, 4>& box, int dpi) {
    const long left = Scale(box[0], dpi), top = Scale(box[1], dpi);
    return {left, top, Scale(box[0] + box[2], dpi) - left, Scale(box[1] + box[3], dpi) - top};
}

// "MS Sans Serif" 8.25 pt at `dpi`, as a character height in pixels.
long FontHeight(int dpi) {
    return std::lround(8.25 * dpi / 72);
}

// The rows and columns that an option's circle covers: the first run of
// columns, from the left edge, holding anything but the background.
std::array<long, 2> CircleSize(HWND option, COLORREF back) {
    RECT box;
    GetClientRect(option, &box);
    HDC dc = GetDC(option);
    long left = -1, right = -1, top = box.bottom, bottom = -1;
    for (long x = 0; x < box.right; ++x) {
        bool painted = false;
        for (long y = 0; y < box.bottom; ++y) {
            if (GetPixel(dc, x, y) == back) continue;
            painted = true;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
        if (!painted && left >= 0) break;
        if (painted && left < 0) left = x;
        if (painted) right = x;
    }
    ReleaseDC(option, dc);
    return {right - left + 1, bottom - top + 1};
}

// A window's client area as the screen shows it once painted, row by row,
// as 0x00RRGGBB: whatever the last change posted is handled first, so that
// every repaint it causes is in the picture.
std::vector<DWORD> Capture(HWND window) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window), memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO info = {};
    info.bmiHeader = {
        sizeof info.bmiHeader, client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<size_t>(client.right * client.bottom));
    GetDIBits(memory, bitmap, 0, client.bottom, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return pixels;
}

// Every caption painted in the window's colours (labels, options) stands out
// from the background at its box's corner: its brightest or darkest pixel,
// beyond an option's circle, differs by 125 of 255 (the W3C's measure). So do
// the main window's rules from the background beside them, and the link is
// in the system's link colour.
void ExpectCaptionsStandOut(HWND window) {
    RECT client, r;
    GetClientRect(window, &client);
    const std::vector<DWORD> image = Capture(window);
    auto brightness = [&](long x, long y) {
        const DWORD rgb = image[y * client.right + x];
        return static_cast<int>(299 * (rgb >> 16 & 255) + 587 * (rgb >> 8 & 255) +
                                114 * (rgb & 255)) /
               1000;
    };
    auto at = [&, dpi = DisplayDpi()](POINT p) {
        return brightness(Scale(p.x, dpi), Scale(p.y, dpi));
    };
    for (POINT rule : {POINT{64, 40}, POINT{64, 240}, POINT{128, 140}}) {
        if (GetDlgItem(window, layout::kTopPic) == nullptr) break;
        EXPECT_GE(std::abs(at(rule) - at({rule.x + 1, rule.y + 1})), 125)
            << rule.x << "," << rule.y;
    }
    const COLORREF link = GetSysColor(COLOR_HOTLIGHT);
    const DWORD linkRgb = GetRValue(link) << 16 | GetGValue(link) << 8 | GetBValue(link);
    for (HWND control = GetWindow(window, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        char name[16] = {};
        GetClassNameA(control, name, sizeof name);
        const bool option =
            (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
        if (Text(control).empty() || (lstrcmpiA(name, "Static") != 0 && !option)) continue;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        int strongest = 0;
        bool linkColour = false;
        for (long y = r.top; y < r.bottom; ++y)
            for (long x = option ? r.left + r.bottom - r.top : r.left; x < r.right; ++x) {
                strongest = std::max(strongest,
                                     std::abs(brightness(x, y) - brightness(r.right - 1, r.top)));
                linkColour |= image[y * client.right + x] == linkRgb;
            }
        EXPECT_GE(strongest, 125) << Text(control);
        EXPECT_EQ(linkColour, GetDlgCtrlID(control) == layout::kLabel4) << Text(control);
    }
}

struct Control {
    const char* className;
    std::string text;
    DWORD mask;  // the style bits that matter
    DWORD style;
    std::array<long, 4> box;     // left, top, width, height in the client area
    bool wraps = false;          // a label's text that may take several lines
    const char* name = nullptr;  // what screen readers say, where not the caption
    long role = 0;               // the role they are told, where not the class's
};

constexpr DWORD kButton = BS_TYPEMASK | WS_TABSTOP;  // a push button, never the default one
constexpr DWORD kLabel = SS_TYPEMASK | SS_NOTIFY | WS_TABSTOP;
constexpr DWORD kOption = BS_TYPEMASK | WS_GROUP | WS_TABSTOP;

std::vector<Control> MainFrmControls() {
    std::vector<Control> rows = {
        {"Static", "", SS_TYPEMASK, SS_OWNERDRAW, {0, 0, 361, 40}},
        {"Button", "Quit", kButton, WS_TABSTOP, {168, 248, 89, 25}},
        {"Button", "Start Generals", kButton, WS_TABSTOP, {264, 248, 89, 25}},
        {"Static", "Visit Website", kLabel, SS_LEFT | SS_NOTIFY | WS_TABSTOP, {8, 260, 65, 13}},
    };
    rows.back().role = ROLE_SYSTEM_LINK;
    const long tops[] = {216, 200, 184, 168, 152, 136, 120, 104, 88, 72};
    for (int n = 1; n <= 10; ++n) {
        // One group; the selected tier 10 holds its tab stop.
        DWORD style = BS_AUTORADIOBUTTON | (n == 1 ? WS_GROUP : 0) | (n == 10 ? WS_TABSTOP : 0);
        rows.push_back({"Button",
                        "Tech level " + std::to_string(n),
                        kOption,
                        style,
                        {16, tops[n - 1], 89, 13}});
    }
    rows.push_back({"Static", "Description:", kLabel, SS_LEFT, {144, 48, 57, 17}});
    rows.push_back({"Static", kTier10, kLabel, SS_LEFT, {152, 80, 201, 145}, true});
    rows.push_back({"Static", "Select a Tech level:", kLabel, SS_LEFT, {8, 48, 97, 17}});
    return rows;
}

// The label before the edit box it names: screen readers look for it there.
const std::vector<Control> kPathFrmControls = {
    {"Static", "Generals path:", kLabel, SS_LEFT, {8, 18, 73, 17}},
    {"Edit",
     "",
     ES_MULTILINE | ES_AUTOHSCROLL | WS_TABSTOP,
     ES_AUTOHSCROLL | WS_TABSTOP,
     {88, 16, 257, 19},
     false,
     "Generals path:"},
    {"Button", "Ok", kButton, WS_TABSTOP, {296, 40, 81, 25}},
    {"Button", "Quit", kButton, WS_TABSTOP, {208, 40, 81, 25}},
    {"Button", "...", kButton, WS_TABSTOP, {352, 16, 25, 17}, false, "Browse"},
};

// What screen readers say for a control, through MSAA.
std::string AccessibleName(HWND control) {
    IAccessible* accessible = nullptr;
    BSTR name = nullptr;
    VARIANT self = {};
    self.vt = VT_I4;  // CHILDID_SELF
    if (SUCCEEDED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&accessible)))) {
        accessible->get_accName(self, &name);
        accessible->Release();
    }
    std::string text(name != nullptr ? SysStringLen(name) : 0, '\0');
    std::transform(name, name + text.size(), text.begin(), [](wchar_t c) { return char(c); });
    SysFreeString(name);
    return text;
}

// The window's frame, and its children in z-order, which is the tab order,
// each in its box and with its font at `dpi`.
void ExpectWindow(HWND window, const char* caption, long width, long height, DWORD present,
                  DWORD absent, const std::vector<Control>& controls, int dpi = DisplayDpi()) {
    EXPECT_EQ(Text(window), caption);
    RECT client, frame, screen;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, Scale(width, dpi)) << caption << " at " << dpi << " dpi";
    EXPECT_EQ(client.bottom, Scale(height, dpi)) << caption << " at " << dpi << " dpi";
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (present | absent), present) << caption;
    GetWindowRect(window, &frame);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    // Centred to the pixel: each halving, of the free space and of a frame
    // fitted to the client area, may round.
    EXPECT_NEAR(frame.left + frame.right, screen.left + screen.right, 2) << caption;
    EXPECT_NEAR(frame.top + frame.bottom, screen.top + screen.bottom, 2) << caption;

    HWND control = GetWindow(window, GW_CHILD);
    for (size_t tab = 0; tab < controls.size(); ++tab, control = GetWindow(control, GW_HWNDNEXT)) {
        const Control& row = controls[tab];
        ASSERT_NE(control, nullptr) << "tab " << tab;
        char className[64] = {};
        GetClassNameA(control, className, sizeof className);
        EXPECT_STRCASEEQ(className, row.className) << "tab " << tab;
        EXPECT_EQ(Text(control), row.text) << "tab " << tab;
        EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & row.mask, row.style) << "tab " << tab;
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        // The font picked for real: the bitmap "MS Sans Serif" where the system
        // has its 8.25 pt size (11 px at 96 dpi), else its scalable successor.
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
        LOGFONTA asked = {};
        GetObjectA(font, sizeof asked, &asked);
        HDC dc = GetDC(control);
        HGDIOBJ previous = SelectObject(dc, font);
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        char face[LF_FACESIZE] = {};
        GetTextFaceA(dc, sizeof face, face);
        SIZE caption = {};
        GetTextExtentPoint32A(dc, row.text.c_str(), static_cast<int>(row.text.size()), &caption);
        RECT room = {0, 0, r.right - r.left, 0};
        DrawTextA(dc, row.text.c_str(), -1, &room, DT_CALCRECT | DT_WORDBREAK);
        SelectObject(dc, previous);
        ReleaseDC(control, dc);
        // The bitmap where the set of sizes that the session loaded has its
        // 8-pt size at that height: 11 px in the set for 96 dpi (sserife.fon),
        // 13 px in the one from 120 dpi on (sseriff.fon). Their 10 and 12-pt
        // sizes (13, 16 px; 16 px) are never taken.
        const bool bitmap = FontHeight(dpi) == (DisplayDpi() == 96 ? 11 : 13);
        EXPECT_STREQ(asked.lfFaceName, bitmap ? "MS Sans Serif" : "Microsoft Sans Serif");
        EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, FontHeight(dpi)) << face;
        const bool raster = (metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) == 0;
        EXPECT_EQ(face == std::string("MS Sans Serif") && raster, bitmap) << face << " at " << dpi;
        EXPECT_EQ(asked.lfUnderline != 0, row.text == "Visit Website") << "tab " << tab;
        // A one-line caption stays on its line: its box widens where the type
        // grows faster than the scale.
        std::array<long, 4> box = ScaledBox(row.box, dpi);
        const bool oneLine =
            row.className == std::string("Static") && !row.text.empty() && !row.wraps;
        if (oneLine) box[2] = std::max(box[2], caption.cx);
        EXPECT_EQ((std::array<long, 4>{r.left, r.top, r.right - r.left, r.bottom - r.top}), box)
            << "tab " << tab << ", " << row.text << " at " << dpi << " dpi";
        EXPECT_EQ(room.bottom, oneLine ? metrics.tmHeight : room.bottom)
            << row.text << " at " << dpi;
        // Read back through MSAA, the caption or the label before an edit
        // box; beyond them, what the annotation service is asked to say.
        EXPECT_EQ(AccessibleName(control), row.name && row.text.empty() ? row.name : row.text);
        const std::string annotated = row.name && !row.text.empty() ? row.name : "";
        EXPECT_EQ(gAnnotations[control], std::make_pair(annotated, row.role)) << "tab " << tab;
    }
    EXPECT_EQ(control, nullptr) << caption << " has more controls";
}

class Windows : public ::testing::Test {
  protected:
    const ComApartment com;  // as the launcher has it for its whole life
    DWORD annotations = 0;   // the stand-in service's registration
    RecordingDesktop desktop;

    void TearDown() override { CoRevokeClassObject(annotations); }

    static void SetUpTestSuite() { DeclareDpiAwareness(); }
    void SetUp() override {
        ASSERT_EQ(CoRegisterClassObject(RecordingAnnotations::kService,
                                        static_cast<IClassFactory*>(&gAnnotationService),
                                        CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &annotations),
                  S_OK);
        gHighContrast = false;
        PubVar::GameFolder.clear();
        shell.documents = "C:\\Docs";
    }
    void InstallGame() {
        registry.SetString(0x80000002, "SOFTWARE\\Electronic Arts\\EA Games\\Generals",
                           "InstallPath", "C:\\Games\\Generals\\");
    }
    void OpenMain(bool endStops = false) {
        window = std::make_unique<TestMainWindow>(
            GetModuleHandleA(nullptr),
            Services{disk, registry, shell, processes, messages, elevation}, desktop,
            [this](HWND owner) {
                owners.push_back(owner);
                ownerTicks.push_back(GetTickCount64());
            });
        window->stops = endStops;
        try {
            EXPECT_TRUE(window->Open(SW_SHOWNORMAL));
        } catch (const Killed&) {
        }
    }
    HWND Child(int id) const { return GetDlgItem(window->Hwnd(), id); }

    Journal journal;
    NoGame files;
    Journal diskCalls;
    ScriptedFileSystem disk{files, diskCalls};
    MemoryRegistry registry;
    FakeShell shell{journal};
    FakeProcessStarter processes{journal};
    FakeMessageBox messages{journal};
    FakeElevation elevation{journal};
    std::vector<HWND> owners;
    std::vector<ULONGLONG> ownerTicks;  // when each owner was set
    std::unique_ptr<TestMainWindow> window;
};

// The windows that hide their keyboard cues as they open, as a dialog does.
std::set<HWND> gCuesHidden;
LRESULT CALLBACK NoteCuesHidden(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (sent->message == WM_CHANGEUISTATE && LOWORD(sent->wParam) == UIS_INITIALIZE &&
        HIWORD(sent->wParam) == (UISF_HIDEFOCUS | UISF_HIDEACCEL))
        gCuesHidden.insert(sent->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Windows, MainFrmAfterStartUp) {
    InstallGame();
    HHOOK noteCues =
        SetWindowsHookExA(WH_CALLWNDPROC, NoteCuesHidden, nullptr, GetCurrentThreadId());
    OpenMain();
    UnhookWindowsHookEx(noteCues);
    EXPECT_TRUE(gCuesHidden.contains(window->Hwnd())) << "focus rectangles shown from the start";
    // Wine keeps no keyboard cues to paint by: the link at least asks to be
    // painted again when they change.
    HWND link = Child(layout::kLabel4);
    ValidateRect(link, nullptr);
    SendMessageA(link, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    EXPECT_TRUE(GetUpdateRect(link, nullptr, FALSE)) << "the link not repainted for its cues";
    ExpectWindow(window->Hwnd(), "Kelvaro Mod - By Dravem", 361, 280,
                 WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_MAXIMIZEBOX | WS_THICKFRAME,
                 MainFrmControls());
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(window->TechTag(n), std::to_string(n));
    EXPECT_EQ(owners, std::vector<HWND>{window->Hwnd()});

    // The three rules, one pixel wide at 96 dpi, ends included.
    const int dpi = DisplayDpi();
    HDC dc = GetDC(window->Hwnd());
    const COLORREF line = GetSysColor(COLOR_APPWORKSPACE), back = RGB(235, 233, 237);
    const struct {
        int x, y;
        COLORREF color;
    } pixels[] = {{0, 40, line},   {360, 40, line},  {0, 240, line},   {360, 240, line},
                  {128, 41, line}, {128, 239, line}, {127, 140, back}, {129, 140, back}};
    for (const auto& p : pixels) {
        EXPECT_EQ(GetPixel(dc, Scale(p.x, dpi), Scale(p.y, dpi)), p.color)
            << p.x << "," << p.y << " at " << dpi << " dpi";
    }
    ReleaseDC(window->Hwnd(), dc);

    // The banner fills its scaled box: no background beyond its own 361 x 40.
    const std::vector<DWORD> image = Capture(window->Hwnd());
    int background = 0;
    for (long y = 0; y < Scale(40, dpi); ++y)
        for (long x = y < 40 ? 361 : 0; x < Scale(361, dpi); ++x)
            background += image[y * Scale(361, dpi) + x] == 0xEBE9ED;  // RGB(235, 233, 237)
    EXPECT_EQ(background, 0) << "banner at " << dpi << " dpi";

    // Every option's circle whole: as high as it is wide.
    for (int n = 1; n <= 10; ++n) {
        const std::array<long, 2> circle =
            CircleSize(Child(layout::TechId(n)), layout::FindControl(layout::TechId(n))->back);
        EXPECT_GT(circle[0], 8) << "Tech(" << n << ")";
        EXPECT_EQ(circle[1], circle[0]) << "Tech(" << n << ") at " << dpi << " dpi";
    }
}

// Moved between monitors of other scales, back and forth, the window asks
// Windows for the frame of its table's client area at the new DPI, takes the
// rectangle suggested of that size and lays itself out again, to the pixel;
// the selection stays. Moved while minimised, it leaves its rectangle to
// Windows and is laid out when restored.
TEST_F(Windows, MainFrmLaidOutAgainAtANewDpi) {
    InstallGame();
    OpenMain();
    SendMessageA(Child(layout::TechId(3)), BM_CLICK, 0, 0);
    std::vector<Control> controls = MainFrmControls();
    for (int n = 1; n <= 10; ++n)
        controls[3 + n].style =
            BS_AUTORADIOBUTTON | (n == 1 ? WS_GROUP : 0) | (n == 3 ? WS_TABSTOP : 0);
    controls[15].text = kTier3;
    RECT screen;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    HWND main = window->Hwnd();
    const struct {
        int dpi;
        bool minimised = false;
    } rows[] = {{144}, {96}, {120, true}, {192}, {168}, {115}, {144}, {96, true}, {DisplayDpi()}};
    for (const auto& row : rows) {
        if (row.minimised) ShowWindow(main, SW_MINIMIZE);
        RECT suggested = {0, 0, Scale(361, row.dpi), Scale(280, row.dpi)};
        AdjustFrameForDpi(&suggested, layout::FormOf(layout::Form::MainFrm).style, row.dpi);
        OffsetRect(&suggested, (screen.left + screen.right - suggested.left - suggested.right) / 2,
                   (screen.top + screen.bottom - suggested.top - suggested.bottom) / 2);
        SIZE size = {};  // the frame of the table's client area at the new DPI; none minimised
        const bool sized = SendMessageA(main, 0x02E4 /* WM_GETDPISCALEDSIZE */, row.dpi,
                                        reinterpret_cast<LPARAM>(&size));
        EXPECT_EQ(sized, !row.minimised) << row.dpi;
        const SIZE framed = {suggested.right - suggested.left, suggested.bottom - suggested.top};
        if (sized) {
            EXPECT_EQ(std::make_pair(size.cx, size.cy), std::make_pair(framed.cx, framed.cy));
        }
        if (row.minimised) GetWindowRect(main, &suggested);  // where Windows parks it
        SendMessageA(main, WM_DPICHANGED, MAKEWPARAM(row.dpi, row.dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        if (row.minimised) ShowWindow(main, SW_RESTORE);
        ExpectWindow(main, "Kelvaro Mod - By Dravem", 361, 280,
                     WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_MAXIMIZEBOX | WS_THICKFRAME,
                     controls, row.dpi);
    }
    EXPECT_EQ(messages.shown.size(), 1u) << "only the archive message of tier 3";
}

// The controls that a window tells of new colours: comctl32's keep a copy of
// the system's colours of their own, which only that message renews.
std::set<HWND> gToldOfColours;
LRESULT CALLBACK NoteColoursTold(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (sent->message == WM_SYSCOLORCHANGE && GetParent(sent->hwnd) != nullptr)
        gToldOfColours.insert(sent->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// High contrast as Windows switches it and Wine cannot: a theme's colours
// (white on black, the application workspace as dark as the background),
// controls without visual styles, higher title bars, and the system's answer;
// the colours or the answer last. Each way both windows take the theme's
// colours, the rules and the link stand out, and the frame grows around the
// same client area (the demo keeps pictures of them); switched off, they are
// the table's again, pixel for pixel.
TEST_F(Windows, HighContrastPaintsBothWindowsInTheSystemColours) {
    InstallGame();
    OpenMain();
    FakeMainFrmView view{journal};
    MainFrm frm(Services{files, registry, shell, processes, messages, elevation}, view);
    PathWindow dialog(GetModuleHandleA(nullptr), desktop, messages, frm, [] {});
    ASSERT_TRUE(dialog.Create());
    SetWindowPos(dialog.Hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    const int elements[] = {COLOR_BTNFACE,    COLOR_WINDOW,    COLOR_APPWORKSPACE, COLOR_BTNTEXT,
                            COLOR_WINDOWTEXT, COLOR_3DHILIGHT, COLOR_HOTLIGHT};
    const COLORREF theme[] = {0, 0, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, RGB(255, 255, 0)};
    COLORREF system[std::size(elements)];
    std::transform(std::begin(elements), std::end(elements), system, GetSysColor);
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    // All but the colours and the answer: the controls without visual styles,
    // the title bars higher, as the system tells the window.
    auto setRestOfTheme = [&, titleBar = metrics.iCaptionHeight](HWND shown, bool on) {
        for (HWND c = GetWindow(shown, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            SetWindowTheme(c, on ? L" " : nullptr, on ? L" " : nullptr);
        metrics.iCaptionHeight = on ? 2 * titleBar : titleBar;
        SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        // Told by either message the system sends: a setting or the theme changed.
        const bool main = shown == window->Hwnd();
        SendMessageA(shown, main ? WM_SETTINGCHANGE : WM_THEMECHANGED, SPI_SETNONCLIENTMETRICS, 0);
    };
    HHOOK noteColours =
        SetWindowsHookExA(WH_CALLWNDPROC, NoteColoursTold, nullptr, GetCurrentThreadId());
    for (const bool colorsLast : {false, true}) {
        HWND shown = colorsLast ? dialog.Hwnd() : window->Hwnd();
        const std::vector<DWORD> before = Capture(shown);
        RECT client, frame, now;
        GetClientRect(shown, &client);
        GetWindowRect(shown, &frame);
        setRestOfTheme(shown, true);
        GetWindowRect(shown, &now);
        EXPECT_GT(now.bottom - now.top, frame.bottom - frame.top) << Text(shown) << ": title bar";
        gToldOfColours.clear();
        if (!colorsLast) SetSysColors(std::size(elements), elements, theme);
        gHighContrast = true;
        if (colorsLast) SetSysColors(std::size(elements), elements, theme);
        if (!colorsLast) SendMessageA(shown, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        GetClientRect(shown, &now);
        EXPECT_TRUE(EqualRect(&now, &client)) << Text(shown) << ": its client area";
        ExpectCaptionsStandOut(shown);
        EXPECT_EQ(gToldOfColours.size(), layout::ControlsOf(layout::Form::MainFrm).size() +
                                             layout::ControlsOf(layout::Form::PathFrm).size())
            << Text(shown) << ": every control of both windows told of the colours";
        if (const char* folder = std::getenv("KELVARO_SCREENSHOTS")) {
            std::ofstream picture(
                std::string(folder) + (colorsLast ? "\\hc-dialog" : "\\hc-main") + ".ppm",
                std::ios::binary);
            picture << "P6 " << now.right << " " << now.bottom << " 255\n";
            for (DWORD rgb : Capture(shown))
                picture << char(rgb >> 16) << char(rgb >> 8) << char(rgb);
        }
        gHighContrast = false;
        setRestOfTheme(shown, false);
        SetSysColors(std::size(elements), elements, system);
        EXPECT_TRUE(Capture(shown) == before) << Text(shown) << " changed";
    }
    UnhookWindowsHookEx(noteColours);
}

// The awareness is declared by the best function the system has: each
// stand-in succeeds where the row says so, and only when given the right value.
struct Awareness {
    static inline std::string takes;  // "v": the v2 function succeeds, "p" per-monitor, "s" system
    static bool Takes(char function) { return takes.find(function) != std::string::npos; }
    static BOOL WINAPI V2(HANDLE context) {
        return Takes('v') && context == reinterpret_cast<HANDLE>(-4);
    }
    static HRESULT WINAPI PerMonitor(int awareness) {
        return Takes('p') && awareness == 2 ? S_OK : E_ACCESSDENIED;
    }
    static BOOL WINAPI System() { return Takes('s'); }
};

TEST(DpiAwareness, FallsBackToTheNextFunctionWhenOneIsMissingOrRefuses) {
    using A = Awareness;
    using enum DpiAwareness;
    const struct {
        const char* what;
        DpiAwarenessFunctions functions;
        const char* takes;
        DpiAwareness result;
    } rows[] = {
        {"Windows 10 1703 on", {A::V2, A::PerMonitor, A::System}, "vps", PerMonitorV2},
        {"v2 refused", {A::V2, A::PerMonitor, A::System}, "ps", PerMonitor},
        {"Windows 8.1", {nullptr, A::PerMonitor, A::System}, "vps", PerMonitor},
        {"Windows 7", {nullptr, nullptr, A::System}, "vps", System},
        {"every one refused", {A::V2, A::PerMonitor, A::System}, "", None},
        {"none there", {nullptr, nullptr, nullptr}, "vps", None},
    };
    for (const auto& row : rows) {
        A::takes = row.takes;
        EXPECT_EQ(DeclareDpiAwareness(row.functions), row.result) << row.what;
    }
}

// WinMain's steps in the order Windows needs them.
TEST(StartUp, RestrictsDllSearchThenDeclaresDpiAwarenessThenEntersComThenRunsTheWindow) {
    struct Recorder : StartUpSteps {
        std::string log;
        void RestrictDllSearch() override { log += "dll-search "; }
        void DeclareDpiAwareness() override { log += "dpi "; }
        void EnterComApartment() override { log += "com "; }
        void LeaveComApartment() override { log += "com-end "; }
        int RunMainWindow() override {
            log += "window ";
            return 7;
        }
    } steps;
    EXPECT_EQ(StartLauncher(steps), 7);
    EXPECT_EQ(steps.log, "dll-search dpi com window com-end ");
}

TEST_F(Windows, TierOptionsRaiseClickOnlyWhenTheSelectionChanges) {
    InstallGame();
    OpenMain();
    const struct {
        const char* what;
        int click;        // the option clicked, or 0 for CheckTech(selected) from the logic
        size_t messages;  // archive messages shown so far
        const char* label1;
        int selected;
    } rows[] = {
        {"click Tech(3), its archive missing", 3, 1, kTier3, 3},
        {"click Tech(3) again", 3, 1, kTier3, 3},
        {"CheckTech(5)", 0, 1, kTier3, 5},
        {"click the selected Tech(5)", 5, 1, kTier3, 5},
        {"click Tech(10)", 10, 1, kTier10, 10},
    };
    for (const auto& row : rows) {
        if (row.click == 0) window->CheckTech(row.selected);
        if (row.click != 0) SendMessageA(Child(layout::TechId(row.click)), BM_CLICK, 0, 0);
        EXPECT_EQ(messages.shown.size(), row.messages) << row.what;
        EXPECT_EQ(Text(Child(layout::kLabel1)), row.label1) << row.what;
        for (int n = 1; n <= 10; ++n) {
            HWND tech = Child(layout::TechId(n));
            const bool selected = n == row.selected;
            EXPECT_EQ(SendMessageA(tech, BM_GETCHECK, 0, 0) == BST_CHECKED, selected)
                << row.what << ", Tech(" << n << ")";
            EXPECT_EQ((GetWindowLongA(tech, GWL_STYLE) & WS_TABSTOP) != 0, selected)
                << row.what << ", Tech(" << n << ") tab stop";
        }
    }
}

// Each event on a fresh window when the one before ended it.
TEST_F(Windows, EventsReachTheLogicAndEnterAndEscDoNothing) {
    InstallGame();
    auto click = [&](int id) { SendMessageA(Child(id), BM_CLICK, 0, 0); };
    auto key = [&](int id, WPARAM key, LPARAM held = 0) {
        SetFocus(Child(id));
        MSG message = {Child(id), WM_KEYDOWN, key, held, 0, {}};
        IsDialogMessageA(window->Hwnd(), &message);
    };
    auto send = [&](UINT message, WPARAM wParam) {
        return SendMessageA(window->Hwnd(), message, wParam, 0);
    };
    // The link's focus rectangle: its dotted top, where the text has none.
    auto focusShown = [&] {
        HWND link = Child(layout::kLabel4);
        UpdateWindow(link);
        HDC dc = GetDC(link);
        const COLORREF back = layout::kBackColor;
        const bool dotted = GetPixel(dc, 0, 0) != back || GetPixel(dc, 1, 0) != back;
        ReleaseDC(link, dc);
        return dotted;
    };
    const struct {
        const char* what;
        std::function<void()> act;
        const char* journalTail;  // nothing new when null
        bool ends;
    } rows[] = {
        {"Visit Website", [&] { SendMessageA(Child(layout::kLabel4), WM_LBUTTONDOWN, 0, 0); },
         "open web page https://www.moddb.com/mods/kelvaro-mod", false},
        {"Start Generals", [&] { click(layout::kCommand1); },
         "critical: Unable to find generals.exe. Make sure C&C Generals is installed correctly.",
         false},
        {"Tab from Start Generals to Visit Website, its focus shown",
         [&] {
             key(layout::kCommand1, VK_TAB);
             EXPECT_EQ(GetFocus(), Child(layout::kLabel4));
             EXPECT_TRUE(focusShown());
         },
         nullptr, false},
        {"Tab on from Visit Website, its focus gone",
         [&] {
             key(layout::kLabel4, VK_TAB);
             EXPECT_FALSE(focusShown());
         },
         nullptr, false},
        {"Enter on Visit Website, and its character taken",
         [&] {
             key(layout::kLabel4, VK_RETURN);
             MSG character = {Child(layout::kLabel4), WM_CHAR, '\r', 0, 0, {}};
             EXPECT_TRUE(SendMessageA(Child(layout::kLabel4), WM_GETDLGCODE, '\r',
                                      reinterpret_cast<LPARAM>(&character)) &
                         DLGC_WANTCHARS);
         },
         "open web page https://www.moddb.com/mods/kelvaro-mod", false},
        {"Space on Visit Website", [&] { key(layout::kLabel4, VK_SPACE); },
         "open web page https://www.moddb.com/mods/kelvaro-mod", false},
        {"Enter held down on Visit Website, repeating",
         [&] { key(layout::kLabel4, VK_RETURN, 1 << 30); }, nullptr, false},
        {"Enter on Quit", [&] { key(layout::kCommand2, VK_RETURN); }, nullptr, false},
        {"Esc on Tech(10)", [&] { key(layout::TechId(10), VK_ESCAPE); }, nullptr, false},
        {"Quit", [&] { click(layout::kCommand2); }, nullptr, true},
        {"close box", [&] { send(WM_SYSCOMMAND, SC_CLOSE); }, nullptr, true},
        {"log-off",
         [&] {
             EXPECT_TRUE(send(WM_QUERYENDSESSION, 0));
             send(WM_ENDSESSION, TRUE);
         },
         nullptr, true},
    };
    for (const auto& row : rows) {
        if (window == nullptr || window->Hwnd() == nullptr) OpenMain();
        const Journal before = journal;
        row.act();
        EXPECT_EQ(window->Hwnd() == nullptr, row.ends) << row.what;
        EXPECT_EQ(window->ends, row.ends ? 1 : 0) << row.what;
        if (row.ends) continue;
        Journal expected = before;
        if (row.journalTail != nullptr) expected.push_back(row.journalTail);
        EXPECT_EQ(journal, expected) << row.what;
    }
}

// Hot spot x and y, and the mask's size: a two-colour cursor keeps both of
// its planes in a mask twice as high as the cursor.
std::array<long, 4> ShapeOf(HCURSOR cursor) {
    ICONINFO info = {};
    GetIconInfo(cursor, &info);
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    return {static_cast<long>(info.xHotspot), static_cast<long>(info.yHotspot), mask.bmWidth,
            mask.bmHeight};
}

TEST_F(Windows, HandPointerOverTheLinkOnly) {
    const std::array<long, 4> hand = {17, 3, 32, 64};
    HCURSOR link = CreateLinkCursor(GetModuleHandleA(nullptr));
    EXPECT_EQ(ShapeOf(link), hand);
    DestroyCursor(link);

    InstallGame();
    OpenMain();
    for (int id : {+layout::kLabel4, +layout::kLabel1, +layout::kCommand2, layout::TechId(10)}) {
        SendMessageA(Child(id), WM_SETCURSOR, reinterpret_cast<WPARAM>(Child(id)),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(ShapeOf(GetCursor()) == hand, id == layout::kLabel4) << "control " << id;
    }
}

// Start-up without the registry entry shows the message, then the dialog,
// which a timer drives step by step from inside the dialog's own loop.
struct DialogStep {
    const char* typed;
    int button;  // a button id, 0 for the close box, kClosedByAnotherThread or kQuitPosted
};
// A close sent from another thread, as another program would send it. The
// steps end with it: no timer message comes after it to wake the dialog's loop.
constexpr int kClosedByAnotherThread = -1;
constexpr int kQuitPosted = -2;  // a WM_QUIT in the dialog's own loop
const std::vector<DialogStep>* gSteps = nullptr;
size_t gNextStep = 0;
const std::vector<HWND>* gOwners = nullptr;  // the first one is the dialog
std::thread gCloser;
std::atomic<ULONGLONG> gClosedAt = 0;
std::promise<void> gLoopEnded;

void CALLBACK RunDialogStep(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = gOwners->empty() ? nullptr : gOwners->front();
    if (dialog == nullptr || !IsWindow(dialog)) return;
    if (gNextStep == 0) {
        ExpectWindow(dialog, "Enter the right path plus generals.exe...", 388, 73,
                     WS_CAPTION | WS_SYSMENU, WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME,
                     kPathFrmControls);
    }
    if (gNextStep == gSteps->size()) {
        ADD_FAILURE() << "the dialog is still open after every step";
        KillTimer(nullptr, timer);
        DestroyWindow(dialog);
        return;
    }
    const DialogStep& step = (*gSteps)[gNextStep++];
    SetWindowTextA(GetDlgItem(dialog, layout::kText1), step.typed);
    if (step.button == kClosedByAnotherThread) {
        KillTimer(nullptr, timer);
        gCloser = std::thread([dialog, loop = GetCurrentThreadId()] {
            SendMessageA(dialog, WM_CLOSE, 0, 0);
            gClosedAt = GetTickCount64();
            // Wakes a loop that would wait on after its dialog has gone.
            if (gLoopEnded.get_future().wait_for(std::chrono::seconds(3)) ==
                std::future_status::timeout) {
                PostThreadMessageA(loop, WM_NULL, 0, 0);
            }
        });
        return;
    }
    if (step.button == kQuitPosted) PostQuitMessage(0);
    if (step.button == 0) SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (step.button > 0) SendMessageA(GetDlgItem(dialog, step.button), BM_CLICK, 0, 0);
}

TEST_F(Windows, PathFrmDuringStartUp) {
    const char* wrong = "C:\\Games\\Generals\\Generals.exe";
    const char* right = "C:\\Games\\Generals\\generals.exe";
    const std::string refused = "Wrong path selected! Try to locate generals.exe";
    const struct {
        const char* what;
        std::vector<DialogStep> steps;
        const char* gameFolder;
        std::vector<std::string> shown;
        bool mainShown;
    } rows[] = {
        {"a wrong path, then the right one",
         {{wrong, layout::kPathCommand1}, {right, layout::kPathCommand1}},
         "C:\\Games\\Generals\\",
         {kNotLocated, refused},
         true},
        {"the close box", {{right, 0}}, "", {kNotLocated}, true},
        {"a close sent by another thread",
         {{right, kClosedByAnotherThread}},
         "",
         {kNotLocated},
         true},
        {"Quit", {{right, layout::kPathCommand2}}, "", {kNotLocated}, false},
        {"a quit message", {{right, kQuitPosted}}, "", {kNotLocated}, false},
    };
    for (const auto& row : rows) {
        PubVar::GameFolder.clear();
        messages.shown.clear();
        owners.clear();
        ownerTicks.clear();
        gSteps = &row.steps;
        gNextStep = 0;
        gOwners = &owners;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, RunDialogStep);
        gLoopEnded = {};
        diskCalls.clear();
        const bool quitPosted = row.steps.back().button == kQuitPosted;
        OpenMain(quitPosted);
        KillTimer(nullptr, timer);
        if (gCloser.joinable()) {
            gLoopEnded.set_value();
            gCloser.join();
            ASSERT_GE(ownerTicks.size(), 2u) << row.what;
            const auto waited = static_cast<long long>(ownerTicks[1] - gClosedAt);
            EXPECT_LT(waited, 1000) << row.what << ": the dialog's loop outlived the dialog";
        }

        std::vector<std::string> shown;
        for (const ShownMessage& message : messages.shown) shown.push_back(message.text);
        EXPECT_EQ(shown, row.shown) << row.what;
        EXPECT_EQ(PubVar::GameFolder, row.gameFolder) << row.what;
        for (const auto& [control, told] : gAnnotations)
            EXPECT_NE(told.first, "Browse") << row.what << ": the dialog took its name back";
        ASSERT_FALSE(owners.empty()) << row.what;
        EXPECT_FALSE(IsWindow(owners[0])) << row.what << ": the dialog is gone";
        EXPECT_EQ(window->ends != 0, !row.mainShown) << row.what;
        if (quitPosted) {
            // The exit sequence once, which puts back an INI folder that was
            // never hidden: start-up went no further.
            EXPECT_EQ(window->ends, 1) << row.what;
            std::erase_if(diskCalls,
                          [](const std::string& call) { return !call.starts_with("rename"); });
            EXPECT_EQ(diskCalls, Journal{"rename " + kHiddenIni + " -> " + kIni}) << row.what;
        }
        if (!row.mainShown) continue;
        EXPECT_TRUE(IsWindowVisible(window->Hwnd())) << row.what;
        EXPECT_EQ(Text(Child(layout::kLabel1)), kTier10) << row.what;
        EXPECT_EQ(owners, (std::vector<HWND>{owners[0], nullptr, window->Hwnd()})) << row.what;
    }
}

}  // namespace
}  // namespace kelvaro::testing
