// Message boxes titled with the product name, owned by whichever launcher
// window is active: none during start-up, then the dialog or the main window.
#pragma once

#include <string>

#include "platform.h"
#include "windows_api.h"

namespace kelvaro {

class WinMessageBox : public MessageBox {
  public:
    void Show(const std::string& text, Icon icon) override;
    bool Ask(const std::string& text) override;
    void SetOwner(HWND owner) { owner_ = owner; }

  private:
    HWND owner_ = nullptr;
};

}  // namespace kelvaro
