// The look of the launcher's windows: the table's colours, or in high
// contrast the system's, and the brushes that paint them.
#include "frame.h"

namespace kelvaro {

// Every control is painted again in the colours now in force: the table's,
// or the system's in high contrast. comctl32's controls keep a copy of the
// system's colours of their own, which only a WM_SYSCOLORCHANGE passed on by
// their window renews.
void Frame::OnColorsChanged() {
    highContrast_ = HighContrastOn();
    for (HWND control = GetWindow(hwnd_, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        SendMessageA(control, WM_SYSCOLORCHANGE, 0, 0);
    }
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HBRUSH Frame::Brush(COLORREF color) {
    HBRUSH& brush = brushes_[color];
    if (brush == nullptr) brush = CreateSolidBrush(color);
    return brush;
}

COLORREF Frame::BackColor(const layout::ControlLayout* row) const {
    if (highContrast_) return GetSysColor(COLOR_BTNFACE);
    return row != nullptr ? row->back : layout::kBackColor;
}

// High-contrast themes give the application workspace, the rules' colour,
// the background's colour: there the rules take the text's.
COLORREF Frame::RuleColor() const {
    return GetSysColor(highContrast_ ? COLOR_BTNTEXT : layout::kLineColor);
}

void Frame::OnEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, Brush(BackColor()));
}

// Labels and options in the table's colours; in high contrast, in the
// system's, the link in the colour the system gives links.
LRESULT Frame::OnCtlColor(HDC dc, HWND control) {
    const layout::ControlLayout* row = layout::FindControl(GetDlgCtrlID(control));
    const COLORREF back = BackColor(row);
    SetBkColor(dc, back);
    if (row != nullptr) {
        const bool link = row->font == layout::Font::Link;
        SetTextColor(dc, GetSysColor(highContrast_ && link ? COLOR_HOTLIGHT : row->textColor));
    }
    return reinterpret_cast<LRESULT>(Brush(back));
}

}  // namespace kelvaro
