#include "frame.h"

#include <string>

#include "dpi.h"
#include "resource_ids.h"

namespace kelvaro {

namespace {

// A length of the layout table, in pixels at 96 dpi, in pixels at `dpi`.
int ToDpi(int value, int dpi) {
    return MulDiv(value, dpi, USER_DEFAULT_SCREEN_DPI);
}

// A character height in pixels at `dpi`; points are 1/72 inch.
int FontHeight(int dpi) {
    return MulDiv(layout::kFontSize, dpi, 7200);
}

HFONT CreateFontOf(int height, int width, bool underline) {
    return CreateFontA(-height, width, 0, 0, FW_NORMAL, FALSE, underline, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, layout::kFontFace);
}

int AverageCharWidth(int height) {
    HFONT font = CreateFontOf(height, 0, false);
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return metrics.tmAveCharWidth;
}

// The text font at `dpi`. Type does not widen evenly with its height (under
// Wine, 8.25 pt comes out 4 % wider at 120 dpi than 96 dpi's scaled): where
// the font is wider than the 96-dpi one scaled, its characters are narrowed
// to that, so that every caption that fits its box at 96 dpi fits it scaled.
HFONT CreateTextFont(int dpi, bool underline) {
    int width = 0;
    if (dpi != USER_DEFAULT_SCREEN_DPI) {
        const int scaled =
            AverageCharWidth(FontHeight(USER_DEFAULT_SCREEN_DPI)) * dpi / USER_DEFAULT_SCREEN_DPI;
        if (AverageCharWidth(FontHeight(dpi)) > scaled) width = scaled;
    }
    return CreateFontOf(FontHeight(dpi), width, underline);
}

HICON LoadAppIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_KELVARO), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), LR_SHARED));
}

}  // namespace

Frame::Frame(HINSTANCE instance, layout::Form form) : instance_(instance), form_(form) {}

Frame::~Frame() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (font_ != nullptr) DeleteObject(font_);
    if (linkFont_ != nullptr) DeleteObject(linkFont_);
    for (const auto& [color, brush] : brushes_) DeleteObject(brush);
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

// The window's outer rectangle for the form's client area at `dpi`, centred
// in the work area.
RECT Frame::CentredFrame(int dpi) const {
    const layout::FormLayout& form = layout::FormOf(form_);
    RECT frame = {0, 0, ToDpi(form.clientWidth, dpi), ToDpi(form.clientHeight, dpi)};
    AdjustFrameForDpi(&frame, form.style, dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    const int left = screen.left + (screen.right - screen.left - width) / 2;
    const int top = screen.top + (screen.bottom - screen.top - height) / 2;
    return {left, top, left + width, top + height};
}

bool Frame::CreateFrame() {
    RegisterFrameClass();
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
    return true;
}

RECT Frame::Scaled(const RECT& box) const {
    return {ToDpi(box.left, dpi_), ToDpi(box.top, dpi_), ToDpi(box.right, dpi_),
            ToDpi(box.bottom, dpi_)};
}

RECT Frame::ControlBox(const layout::ControlLayout& row) const {
    return Scaled({row.left, row.top, row.left + row.width, row.top + row.height});
}

void Frame::CreateControls() {
    dpi_ = DpiOf(hwnd_);
    for (const layout::ControlLayout& row : layout::ControlsOf(form_)) {
        const RECT box = ControlBox(row);
        CreateWindowExA(row.exStyle, row.className, std::string(row.text).c_str(),
                        WS_CHILD | WS_VISIBLE | row.style, box.left, box.top, box.right - box.left,
                        box.bottom - box.top, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance_, nullptr);
    }
    SetFonts(false);
}

// Fonts made for the window's DPI; those they replace are freed once no
// control uses them any more.
void Frame::SetFonts(bool redraw) {
    HFONT oldFont = font_;
    HFONT oldLinkFont = linkFont_;
    font_ = CreateTextFont(dpi_, false);
    linkFont_ = CreateTextFont(dpi_, true);
    for (const layout::ControlLayout& row : layout::ControlsOf(form_)) {
        HFONT font = row.font == layout::Font::Link ? linkFont_ : font_;
        SendMessageA(Control(row.id), WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    if (oldFont != nullptr) DeleteObject(oldFont);
    if (oldLinkFont != nullptr) DeleteObject(oldLinkFont);
}

// The window moved to a monitor of another scale: the controls and the fonts
// are made again for its DPI, and the window takes the rectangle that
// Windows suggests for it.
void Frame::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    for (const layout::ControlLayout& row : layout::ControlsOf(form_)) {
        const RECT box = ControlBox(row);
        SetWindowPos(Control(row.id), nullptr, box.left, box.top, box.right - box.left,
                     box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetFonts(true);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH Frame::Brush(COLORREF color) {
    HBRUSH& brush = brushes_[color];
    if (brush == nullptr) brush = CreateSolidBrush(color);
    return brush;
}

LRESULT CALLBACK Frame::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* frame = static_cast<Frame*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        frame->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
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
        case WM_DPICHANGED:
            OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
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

void Frame::OnEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, Brush(layout::kBackColor));
}

LRESULT Frame::OnCtlColor(HDC dc, HWND control) {
    const layout::ControlLayout* row = layout::FindControl(GetDlgCtrlID(control));
    const COLORREF back = row != nullptr ? row->back : layout::kBackColor;
    SetBkColor(dc, back);
    if (row != nullptr) SetTextColor(dc, GetSysColor(row->textColor));
    return reinterpret_cast<LRESULT>(Brush(back));
}

}  // namespace kelvaro
