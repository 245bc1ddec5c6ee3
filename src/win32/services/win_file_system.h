// The file system as Windows answers: look-ups by attributes, renames that
// never replace, deletions and copies, each telling a refusal for want of
// rights from an ordinary failure.
#pragma once

#include <string>

#include "platform.h"
#include "windows_api.h"

namespace kelvaro {

// What a change that failed with `error` was: a refusal for want of rights,
// or a failure that no rights would mend. Access denied is a refusal only
// where the user is short of rights to make the change.
Change FailureOf(DWORD error, bool shortOfRights);

// STATUS_DELETE_PENDING: a file whose deletion is pending, which Windows
// reports to an opener as ERROR_ACCESS_DENIED.
inline constexpr LONG kStatusDeletePending = static_cast<LONG>(0xC0000056);

// Whether an open that failed with `error`, Windows' own `status` behind it,
// was refused to this user's rights.
bool DeniedForWantOfRights(DWORD error, LONG status);

class WinFileSystem : public FileSystem {
  public:
    Entry Lookup(const std::string& path) override;
    // A change refused with an error that rights would mend is Refused.
    Change Rename(const std::string& from, const std::string& to) override;
    Change Delete(const std::string& path) override;
    Change Copy(const std::string& from, const std::string& to) override;
    bool SameBytes(const std::string& first, const std::string& second) override;
};

}  // namespace kelvaro
