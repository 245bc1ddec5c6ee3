// The grant helper: the launcher's own exe, started through Windows' prompt
// with an administrator's rights, lets one user account make the launcher's
// own changes to the game's Data folder, and ends. Its command line is
// untrusted input, which anyone could write: it acts only on a game folder on
// a local drive that holds generals.exe and a real Data folder, for a user
// account's SID, and changes exactly the objects that the launcher moves,
// each with exactly the rights that Windows checks for that move.
#pragma once

#include <string>
#include <vector>

#include "scoped.h"
#include "windows_api.h"

namespace kelvaro {

// `argv` as the C runtime split the command line: the program, the verb,
// the game folder (a full path on a drive letter, ending in "\") and the
// account's SID ("S-1-…"). The exit code: ERROR_SUCCESS once the account may
// make the launcher's changes, or what stopped it. Each refusal comes before
// anything is written: ERROR_BAD_ARGUMENTS, ERROR_BAD_PATHNAME (anything but
// a local folder's full path), ERROR_INVALID_SID, ERROR_NO_SUCH_USER (a SID
// of no user account), ERROR_FILE_NOT_FOUND (no generals.exe),
// ERROR_PATH_NOT_FOUND (no Data folder), ERROR_DIRECTORY (a folder where a
// file is, or a file where a folder is), kReparsePointEncountered (a link,
// junction or other reparse point among them), ERROR_TOO_MANY_LINKS (a file
// with another name elsewhere). Otherwise Windows' own error.
DWORD RunGrantHelper(int argc, char** argv);

// ERROR_REPARSE_POINT_ENCOUNTERED, which MinGW's headers lack.
inline constexpr DWORD kReparsePointEncountered = 4395;

// What the account is let do with one object: rights on the object itself,
// and rights that files created in it later inherit (none for most).
struct Rights {
    DWORD own = 0;
    DWORD newFiles = 0;
};

// One object that the grant changes, held open from its checks to the change.
struct GrantTarget {
    std::string path;  // below the game folder, as the launcher names it ("Data\INI\")
    Rights rights;
    ScopedHandle handle;
};

// The game folder and its program, held open so that neither can be renamed
// or moved, and the objects that the grant changes, each opened inside the
// folder held before it, never through a link.
struct GrantTargets {
    ScopedHandle gameFolder;
    ScopedHandle gameProgram;
    std::vector<GrantTarget> objects;
};

// Opens and checks everything the grant changes in `gameFolder` (a checked
// full path ending in "\"): the Data folder, the INI folder under either of
// its names, the Scripts folder, the game's script and its backup, where they
// exist. ERROR_SUCCESS, or the refusal, before anything is written.
DWORD OpenGrantTargets(const std::wstring& gameFolder, GrantTargets* targets);

// The DACL `existing` with the entries that give `user` the `rights` it
// lacks, right after the object's own entries and before the inherited ones;
// every entry kept, or Windows' error. *granted is empty when nothing needs
// adding: a null DACL, which allows everyone everything, or one whose
// entries grant it already.
DWORD DaclWithGrant(PACL existing, PSID user, Rights rights, std::vector<BYTE>* granted);

}  // namespace kelvaro
