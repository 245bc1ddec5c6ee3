// Elevation through UAC: a launcher that runs in an administrator's ordinary
// session asks Windows to start it again with that administrator's full
// rights ("runas"), which shows Windows' prompt.
#pragma once

#include <optional>
#include <string>

#include "platform.h"
#include "windows_api.h"

namespace kelvaro {

// Whether the offer to start again as administrator can help, from what the
// process's token says: its elevation type (none on Windows XP), whether it
// is elevated, and whether the launcher was itself started by the offer.
bool MayOfferRestart(std::optional<TOKEN_ELEVATION_TYPE> type, bool elevated, bool restarted);

class WinElevation : public Elevation {
  public:
    // `restarted`: this launcher was itself started again as administrator.
    explicit WinElevation(bool restarted) : restarted_(restarted) {}
    bool CanRestartElevated() override;
    Restart RestartElevated(const std::string& commandLine, std::string* reason) override;
    // The window that Windows' prompt belongs to, as for message boxes.
    void SetOwner(HWND owner) { owner_ = owner; }

  private:
    bool restarted_;
    HWND owner_ = nullptr;
};

}  // namespace kelvaro
