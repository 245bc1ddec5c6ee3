// The look of the launcher's windows: the table's colours, or in high
// contrast the system's, and the brushes that paint them.
#pragma once

#include <map>

#include "desktop.h"
#include "layout.h"

namespace kelvaro {

class Look {
  public:
    explicit Look(Desktop& desktop) : desktop_(desktop) {}
    ~Look();
    Look(const Look&) = delete;
    Look& operator=(const Look&) = delete;

    // Asks the desktop again whether high contrast is on.
    void Refresh() { highContrast_ = desktop_.HighContrastOn(); }
    HBRUSH Brush(COLORREF color);
    // The background of a control of the table, or of the window (nullptr).
    COLORREF BackColor(const layout::ControlLayout* row = nullptr) const;
    COLORREF RuleColor() const;
    // For WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: the control's colours set
    // in `dc`, and the brush of its background.
    HBRUSH ControlColors(HDC dc, int controlId);

  private:
    Desktop& desktop_;
    bool highContrast_ = false;
    std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace kelvaro
