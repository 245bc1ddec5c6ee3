// Every text, name and path that the launcher shows or uses, in one place.
#pragma once

#include <string_view>

namespace kelvaro::texts {

inline constexpr std::string_view kProductName = "Kelvaro Mod";
inline constexpr std::string_view kMainCaption = "Kelvaro Mod - By Dravem";
inline constexpr std::string_view kPathCaption = "Enter the right path plus generals.exe...";
inline constexpr std::string_view kWebPage = "https://www.moddb.com/mods/kelvaro-mod";

inline constexpr int kDocumentsFolderId = 5;
inline constexpr int kLocalAppDataFolderId = 28;
// Where Windows writes, for a program it virtualizes, what that program may
// not write in a protected folder: below the local application data, the
// folder's path without its drive.
inline constexpr std::string_view kVirtualStore = "\\VirtualStore";
inline constexpr std::string_view kUserDataSuffix = "\\Command and Conquer Generals Data\\";
inline constexpr std::string_view kInstallPathKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Electronic Arts\\EA Games\\Generals\\InstallPath";

inline constexpr std::string_view kGameNotLocated =
    "Kelvaro Mod was unable to locate the C&C Generals directory, make sure Generals is "
    "installed correctly!";
inline constexpr std::string_view kGameProgramMissing =
    "Unable to find generals.exe. Make sure C&C Generals is installed correctly.";
inline constexpr std::string_view kWrongPath = "Wrong path selected! Try to locate generals.exe";
// Both follow the full path of the missing file.
inline constexpr std::string_view kArchiveMissingTail =
    " could not be found, make sure the Kelvaro files are in the right folder.";
inline constexpr std::string_view kTierScriptMissingTail = " not found! AI script file not loaded!";
inline constexpr std::string_view kGameNotStarted = "Unable to start ";
// A change to the game folder that Windows refused for want of rights; the
// folder's path follows the head, then why, then the question or the notice.
inline constexpr std::string_view kFolderRefusedHead =
    "Kelvaro Mod cannot change the game folder\n\n";
inline constexpr std::string_view kFolderRefusedTail =
    "\n\nWindows lets only an administrator change it.";
inline constexpr std::string_view kGrantQuestion =
    "\n\nLet your Windows account change the game's Data folder? Windows asks for an "
    "administrator's approval once, and Kelvaro Mod will not need to ask again. Only the "
    "permissions of the Data folder change, for your account alone; the game's programs stay "
    "protected.";
// Told where no grant would help, or where one did not.
inline constexpr std::string_view kRefusedToAdministrators =
    "\n\nWindows refuses it even to an administrator.";
inline constexpr std::string_view kStillRefused =
    "\n\nWindows still refuses it, though your account may now change the Data folder: a "
    "program may hold a file in it open, or a permission may deny it to your account.";
inline constexpr std::string_view kGoingOnUnchanged =
    "\n\nKelvaro Mod goes on without changing it.";
inline constexpr std::string_view kGrantFailed =
    "Kelvaro Mod could not let your Windows account change the game's Data folder.";
// The grant helper's command line: this verb, the game folder, the account's
// SID. Players never type it; anything else on a command line is ignored.
inline constexpr std::string_view kGrantVerb = "/grant-data-folder";

inline constexpr std::string_view kGameProgram = "generals.exe";
inline constexpr std::string_view kModOption = " -mod Kelvaro";
inline constexpr std::string_view kArchivePrefix = "Kelvaro";
inline constexpr std::string_view kArchiveSuffix = ".big";

inline constexpr std::string_view kDataFolder = "Data\\";
inline constexpr std::string_view kIniFolder = "Data\\INI\\";
inline constexpr std::string_view kHiddenIniFolder = "Data\\xINIx\\";
inline constexpr std::string_view kScriptsFolder = "Data\\Scripts\\";
inline constexpr std::string_view kGameScript = "Data\\Scripts\\SkirmishScripts.scb";
inline constexpr std::string_view kScriptBackup = "Data\\Scripts\\SkirmishScripts.xxx";
inline constexpr std::string_view kTierScriptPrefix = "Kelvaro Mod\\SkirmishScripts";
inline constexpr std::string_view kTierScriptSuffix = ".scb";

}  // namespace kelvaro::texts
