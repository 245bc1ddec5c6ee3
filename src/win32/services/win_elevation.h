// Elevation through UAC: a launcher that runs with an administrator's
// limited rights asks Windows to start it again with full ones ("runas"),
// which shows Windows' prompt.
#pragma once

#include <string>
#include <utility>

#include "platform.h"
#include "windows_api.h"

namespace kelvaro {

class WinElevation : public Elevation {
  public:
    // `commandLine`: the launcher's own, without its program's name.
    explicit WinElevation(std::string commandLine) : commandLine_(std::move(commandLine)) {}
    bool CanRestartElevated() override;
    bool RestartElevated() override;
    // The window that Windows' prompt belongs to, as for message boxes.
    void SetOwner(HWND owner) { owner_ = owner; }

  private:
    std::string commandLine_;
    HWND owner_ = nullptr;
};

}  // namespace kelvaro
