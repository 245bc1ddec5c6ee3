#include "screen_reader_names.h"

namespace kelvaro {

void ScreenReaderNames::Name(HWND control, const layout::ControlLayout& row) {
    if (row.accessibleName.empty() && row.accessibleRole == 0) return;
    desktop_.Annotate(control, row.accessibleName, row.accessibleRole);
    named_.push_back(control);
}

void ScreenReaderNames::ForgetAll() {
    for (HWND control : named_) desktop_.ForgetAnnotations(control);
    named_.clear();
}

}  // namespace kelvaro
