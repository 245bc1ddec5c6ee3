// The grant helper: the launcher's own exe, started through Windows' prompt
// with an administrator's rights, lets one user account change the game's
// Data folder and ends. Its command line is untrusted input, which anyone
// could write: it acts only on a game folder that holds generals.exe and a
// real Data folder, for a user account's SID, and on nothing else.
#pragma once

#include "windows_api.h"

namespace kelvaro {

// Modify rights: read, write, execute and delete; neither WRITE_DAC nor
// WRITE_OWNER, so the account cannot change who may do what.
inline constexpr DWORD kModifyRights =
    FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE;

// `argv` as the C runtime split the command line: the program, the verb,
// the game folder (a full path ending in "\") and the account's SID. The
// exit code: ERROR_SUCCESS once the account may change the Data folder, or
// what stopped it (ERROR_BAD_ARGUMENTS, ERROR_BAD_PATHNAME, ERROR_INVALID_SID,
// ERROR_NO_SUCH_USER, ERROR_FILE_NOT_FOUND for no generals.exe,
// ERROR_PATH_NOT_FOUND for no Data folder, kReparsePointEncountered for a
// Data folder that leads elsewhere, or Windows' own error).
DWORD RunGrantHelper(int argc, char** argv);

// ERROR_REPARSE_POINT_ENCOUNTERED, which MinGW's headers lack.
inline constexpr DWORD kReparsePointEncountered = 4395;

// The DACL `existing` with one more entry: `user` allowed kModifyRights, for
// the folder, its subfolders and files. *granted is null when nothing needs
// adding: a null DACL, which allows everyone everything, or one that grants
// this already. Otherwise it is made by SetEntriesInAclA, every entry kept,
// and freed with LocalFree.
DWORD DaclWithGrant(PACL existing, PSID user, PACL* granted);

}  // namespace kelvaro
