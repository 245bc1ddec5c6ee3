#include "frame.h"

#include <algorithm>
#include <string>

#include "dpi.h"
#include "resource_ids.h"
#include "text_font.h"
#include "trace.h"

namespace kelvaro {

namespace {

// WM_GETDPISCALEDSIZE (Windows 10 1703), which the headers declare only for
// newer Windows targets than ours.
constexpr UINT kGetDpiScaledSize = 0x02E4;

// A length of the layout table, in pixels at 96 dpi, in pixels at `dpi`.
int ToDpi(int value, int dpi) {
    return MulDiv(value, dpi, USER_DEFAULT_SCREEN_DPI);
}

HICON LoadAppIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_KELVARO), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), LR_SHARED));
}

}  // namespace

Frame::Frame(HINSTANCE instance, layout::Form form, Desktop& desktop)
    : instance_(instance), desktop_(desktop), look_(desktop), form_(form), names_(desktop) {}

Frame::~Frame() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        names_.ForgetAll();
        DestroyWindow(hwnd_);
    }
    if (font_ != nullptr) DeleteObject(font_);
    if (linkFont_ != nullptr) DeleteObject(linkFont_);
}

void Frame::RegisterFrameClass() const {
    const char* name = layout::FormOf(form_).className;
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance_, name, &existing)) return;

    WNDCLASSEXA frameClass = {};
    frameClass.cbSize = sizeof frameClass;
    frameClass.lpfnWndProc = WindowProc;
    frameClass.hInstance = instance_;
    frameClass.hIcon = LoadAppIcon(instance_, SM_CXICON, SM_CYICON);
    frameClass.hIconSm = LoadAppIcon(instance_, SM_CXSMICON, SM_CYSMICON);
    frameClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    frameClass.lpszClassName = name;
    RegisterClassExA(&frameClass);
}

// The size of the window whose client area is the form's at `dpi`.
SIZE Frame::FrameSize(int dpi) const {
    const layout::FormLayout& form = layout::FormOf(form_);
    RECT frame = {0, 0, ToDpi(form.clientWidth, dpi), ToDpi(form.clientHeight, dpi)};
    AdjustFrameForDpi(&frame, form.style, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// The window's outer rectangle at `dpi`, centred in the work area.
RECT Frame::CentredFrame(int dpi) const {
    const SIZE size = FrameSize(dpi);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    const int left = screen.left + (screen.right - screen.left - size.cx) / 2;
    const int top = screen.top + (screen.bottom - screen.top - size.cy) / 2;
    return {left, top, left + size.cx, top + size.cy};
}

bool Frame::CreateFrame() {
    RegisterFrameClass();
    trace::PhaseEnd("window class");
    const layout::FormLayout& form = layout::FormOf(form_);
    const int screenDpi = DpiOf(nullptr);
    const RECT frame = CentredFrame(screenDpi);
    CreateWindowExA(0, form.className, std::string(form.caption).c_str(), form.style, frame.left,
                    frame.top, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                    instance_, this);
    if (hwnd_ == nullptr) return false;
    // A window that Windows placed on a monitor of another scale: its
    // controls are made for that monitor's DPI, and so must its frame be.
    if (dpi_ != screenDpi) {
        const RECT fitted = CentredFrame(dpi_);
        SetWindowPos(hwnd_, nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
                     fitted.bottom - fitted.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The frame the system draws (a theme's, a title bar of another height)
    // need not be the one it computed for the window.
    FitClientArea();
    // Focus rectangles hidden until the keyboard is used, as in a dialog.
    SendMessageA(hwnd_, WM_CHANGEUISTATE,
                 MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    return true;
}

RECT Frame::Scaled(const RECT& box) const {
    return {ToDpi(box.left, dpi_), ToDpi(box.top, dpi_), ToDpi(box.right, dpi_),
            ToDpi(box.bottom, dpi_)};
}

// The row's box at the window's DPI. Type does not grow evenly with the
// scale: a one-line caption wider than its scaled box widens the box to its
// right, so that it stays on its one line.
RECT Frame::ControlBox(const layout::ControlLayout& row) const {
    RECT box = Scaled({row.left, row.top, row.left + row.width, row.top + row.height});
    if (layout::IsOneLineLabel(row)) {
        box.right = std::max<LONG>(box.right, box.left + CaptionWidth(row.text, FontOf(row)));
    }
    return box;
}

HFONT Frame::FontOf(const layout::ControlLayout& row) const {
    return row.font == layout::Font::Link ? linkFont_ : font_;
}

void Frame::CreateControls() {
    dpi_ = DpiOf(hwnd_);
    look_.Refresh();
    MakeFonts();
    trace::PhaseEnd("fonts");
    for (const layout::ControlLayout& row : layout::ControlsOf(form_)) {
        const RECT box = ControlBox(row);
        HWND control = CreateWindowExA(row.exStyle, row.className, std::string(row.text).c_str(),
                                       WS_CHILD | WS_VISIBLE | row.style, box.left, box.top,
                                       box.right - box.left, box.bottom - box.top, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                       instance_, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(row)), FALSE);
        names_.Name(control, row);
    }
    trace::PhaseEnd("controls");
}

// Fonts made for the window's DPI. Those they replace are the caller's to
// free, once no control uses them any more.
void Frame::MakeFonts() {
    const TextFonts fonts = CreateTextFonts(dpi_);
    font_ = fonts.text;
    linkFont_ = fonts.link;
}

// The window moved to a monitor of another scale: the controls and the fonts
// are made again for its DPI, and the window takes the rectangle that
// Windows suggests for it. A minimised window stays where Windows parks it,
// off the screen; its frame is fitted when it is restored.
void Frame::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    HFONT oldFont = font_;
    HFONT oldLinkFont = linkFont_;
    MakeFonts();
    for (const layout::ControlLayout& row : layout::ControlsOf(form_)) {
        const RECT box = ControlBox(row);
        HWND control = Control(row.id);
        SetWindowPos(control, nullptr, box.left, box.top, box.right - box.left,
                     box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(row)), TRUE);
    }
    DeleteObject(oldFont);
    DeleteObject(oldLinkFont);
    if (!IsIconic(hwnd_)) {
        SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FitClientArea();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

// The client area is the table's at the window's DPI, whatever frame the
// system draws around it; the window keeps its centre. A minimised window
// has no client area to measure: it is fitted once restored.
void Frame::FitClientArea() {
    fitWhenRestored_ = IsIconic(hwnd_);
    if (fitWhenRestored_) return;
    const layout::FormLayout& form = layout::FormOf(form_);
    RECT client, frame;
    GetClientRect(hwnd_, &client);
    GetWindowRect(hwnd_, &frame);
    const int wider = ToDpi(form.clientWidth, dpi_) - client.right;
    const int higher = ToDpi(form.clientHeight, dpi_) - client.bottom;
    if (wider == 0 && higher == 0) return;
    SetWindowPos(hwnd_, nullptr, frame.left - wider / 2, frame.top - higher / 2,
                 frame.right - frame.left + wider, frame.bottom - frame.top + higher,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The system's look changed: its colours, high contrast, the theme, or the
// size of title bars and borders. The window keeps its outer size through
// such a change, and its client area would shrink or grow with the frame: it
// is fitted again, once the system's new frame is in place, and painted in
// the colours now in force.
void Frame::OnLookChanged() {
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientArea();
    OnColorsChanged();
}

// Every control is painted again in the colours now in force: the table's,
// or the system's in high contrast. comctl32's controls keep a copy of the
// system's colours of their own, which only a WM_SYSCOLORCHANGE passed on by
// their window renews.
void Frame::OnColorsChanged() {
    look_.Refresh();
    for (HWND control = GetWindow(hwnd_, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        SendMessageA(control, WM_SYSCOLORCHANGE, 0, 0);
    }
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Frame::OnEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, look_.Brush(look_.BackColor()));
}

LRESULT Frame::OnCtlColor(HDC dc, HWND control) {
    return reinterpret_cast<LRESULT>(look_.ControlColors(dc, GetDlgCtrlID(control)));
}

LRESULT CALLBACK Frame::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* frame = static_cast<Frame*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        frame->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
        ScaleFrameWithDpi(hwnd);
    }
    auto* frame = reinterpret_cast<Frame*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (frame == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        frame->hwnd_ = nullptr;
        frame->lastFocus_ = nullptr;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return frame->HandleMessage(message, wParam, lParam);
}

LRESULT Frame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            OnEraseBackground(reinterpret_cast<HDC>(wParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case kGetDpiScaledSize:
            // A minimised window's rectangle is Windows' own to scale.
            if (IsIconic(hwnd_)) return FALSE;
            *reinterpret_cast<SIZE*>(lParam) = FrameSize(static_cast<int>(wParam));
            return TRUE;
        case WM_DPICHANGED:
            OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SIZE:
            if (wParam == SIZE_RESTORED && fitWhenRestored_) FitClientArea();
            break;
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            OnLookChanged();
            break;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETHIGHCONTRAST || wParam == SPI_SETNONCLIENTMETRICS) OnLookChanged();
            break;
        case WM_DESTROY:
            names_.ForgetAll();
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) lastFocus_ = GetFocus();
            break;
        case WM_SETFOCUS:
            if (lastFocus_ != nullptr && IsChild(hwnd_, lastFocus_)) {
                SetFocus(lastFocus_);
                return 0;
            }
            break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace kelvaro
