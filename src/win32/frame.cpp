#include "frame.h"

#include <string>

#include "resource_ids.h"

namespace kelvaro {

namespace {

HFONT CreateTextFont(bool underline) {
    return CreateFontA(layout::kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE,
                       ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, layout::kFontFace);
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

bool Frame::CreateFrame() {
    RegisterFrameClass();
    const layout::FormLayout& form = layout::FormOf(form_);
    RECT frame = {0, 0, form.clientWidth, form.clientHeight};
    AdjustWindowRectEx(&frame, form.style, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    const int left = screen.left + (screen.right - screen.left - width) / 2;
    const int top = screen.top + (screen.bottom - screen.top - height) / 2;
    CreateWindowExA(0, form.className, std::string(form.caption).c_str(), form.style, left, top,
                    width, height, nullptr, nullptr, instance_, this);
    return hwnd_ != nullptr;
}

void Frame::CreateControls() {
    font_ = CreateTextFont(false);
    linkFont_ = CreateTextFont(true);
    for (const layout::ControlLayout& row : layout::ControlsOf(form_)) {
        HWND control = CreateWindowExA(
            row.exStyle, row.className, std::string(row.text).c_str(),
            WS_CHILD | WS_VISIBLE | row.style, row.left, row.top, row.width, row.height, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance_, nullptr);
        HFONT font = row.font == layout::Font::Link ? linkFont_ : font_;
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
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
