#include "look.h"

namespace kelvaro {

Look::~Look() {
    for (const auto& [color, brush] : brushes_) DeleteObject(brush);
}

HBRUSH Look::Brush(COLORREF color) {
    HBRUSH& brush = brushes_[color];
    if (brush == nullptr) brush = CreateSolidBrush(color);
    return brush;
}

COLORREF Look::BackColor(const layout::ControlLayout* row) const {
    if (highContrast_) return GetSysColor(COLOR_BTNFACE);
    return row != nullptr ? row->back : layout::kBackColor;
}

// High-contrast themes give the application workspace, the rules' colour,
// the background's colour: there the rules take the text's.
COLORREF Look::RuleColor() const {
    return GetSysColor(highContrast_ ? COLOR_BTNTEXT : layout::kLineColor);
}

// Labels and options in the table's colours; in high contrast, in the
// system's, the link in the colour the system gives links.
HBRUSH Look::ControlColors(HDC dc, int controlId) {
    const layout::ControlLayout* row = layout::FindControl(controlId);
    const COLORREF back = BackColor(row);
    SetBkColor(dc, back);
    if (row != nullptr) {
        const bool link = row->font == layout::Font::Link;
        SetTextColor(dc, GetSysColor(highContrast_ && link ? COLOR_HOTLIGHT : row->textColor));
    }
    return Brush(back);
}

}  // namespace kelvaro
