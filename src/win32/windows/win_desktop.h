// The desktop as Windows answers: its system parameters, and oleacc's
// annotation service, made at the first annotation and kept until the
// desktop goes.
#pragma once

#include "desktop.h"

struct IAccPropServices;

namespace kelvaro {

class WinDesktop : public Desktop {
  public:
    WinDesktop() = default;
    ~WinDesktop() override;
    WinDesktop(const WinDesktop&) = delete;
    WinDesktop& operator=(const WinDesktop&) = delete;

    bool HighContrastOn() override;
    void Annotate(HWND control, std::string_view name, long role) override;
    void ForgetAnnotations(HWND control) override;

  private:
    IAccPropServices* annotations_ = nullptr;
    bool annotationsTried_ = false;  // a system without the service is asked once
};

}  // namespace kelvaro
