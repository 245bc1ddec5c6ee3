// What the launcher's windows ask of the desktop beyond their own controls:
// whether high contrast is on, and what screen readers are told of a control
// that its class and caption do not describe. Handed to the windows as the
// core is handed its services, so that the window suite can answer where
// Wine cannot: Wine never turns high contrast on and keeps no annotations.
#pragma once

#include <string_view>

#include "windows_api.h"

namespace kelvaro {

class Desktop {
  public:
    virtual ~Desktop() = default;
    virtual bool HighContrastOn() = 0;
    // Tells screen readers the name (unless empty) and the role (unless 0,
    // an MSAA role) of `control`, until its annotations are forgotten.
    virtual void Annotate(HWND control, std::string_view name, long role) = 0;
    // For a control about to go: screen readers are told nothing more of it.
    virtual void ForgetAnnotations(HWND control) = 0;
};

}  // namespace kelvaro
