// An administrator's approval through UAC: the launcher starts its own exe
// through Windows' prompt ("runas") as the grant helper, which lets the
// player's own account change the game's Data folder, and waits for it.
#pragma once

#include <optional>
#include <string>

#include "platform.h"
#include "windows_api.h"

namespace kelvaro {

// Whether a token has an administrator's full rights: an elevated one, or,
// where tokens know no elevation (Windows XP, `elevated` empty), one of the
// Administrators group.
bool HasAdministratorsRights(std::optional<bool> elevated, bool administrator);

// The SID of the account this process runs as, as text ("S-1-5-21-…"), or
// empty with the reason in the last error.
std::string OwnAccountSid();

// What became of a helper that ShellExecuteEx could not start with `error`:
// only the player's No in Windows' prompt is Declined.
Grant GrantOfStartFailure(DWORD error);

// The helper's parameters: its verb, the game folder and the account's SID,
// quoted so that Windows' C runtime reads them back as they were (a folder
// ends in a backslash, which must not escape the closing quote).
std::string GrantParameters(const std::string& gameFolder, const std::string& sid);

class WinElevation : public Elevation {
  public:
    bool HasEveryRight() override;
    Grant GrantDataFolder(const std::string& gameFolder, std::string* reason) override;
    // The window that Windows' prompt belongs to, and that stays disabled
    // while the helper runs, as for message boxes.
    void SetOwner(HWND owner) { owner_ = owner; }

  private:
    HWND owner_ = nullptr;
};

}  // namespace kelvaro
