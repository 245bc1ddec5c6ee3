// What a window's controls tell screen readers beyond their class and
// caption: the names and roles of the layout table, given to the desktop as
// each control is made and taken back when the window goes.
#pragma once

#include <vector>

#include "desktop.h"
#include "layout.h"

namespace kelvaro {

class ScreenReaderNames {
  public:
    explicit ScreenReaderNames(Desktop& desktop) : desktop_(desktop) {}

    // For a control just made from its row of the table.
    void Name(HWND control, const layout::ControlLayout& row);
    // Before the window's controls go.
    void ForgetAll();

  private:
    Desktop& desktop_;
    std::vector<HWND> named_;
};

}  // namespace kelvaro
