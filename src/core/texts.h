// Every text, name and path that the launcher shows or uses, in one place.
#pragma once

#include <string_view>

namespace kelvaro::texts {

inline constexpr std::string_view kProductName = "Kelvaro Mod";
inline constexpr std::string_view kMainCaption = "Kelvaro Mod - By Dravem";
inline constexpr std::string_view kPathCaption = "Enter the right path plus generals.exe...";
inline constexpr std::string_view kWebPage = "https://www.moddb.com/mods/kelvaro-mod";

inline constexpr int kDocumentsFolderId = 5;
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
// folder's path comes between head and tail, then the question or the notice.
inline constexpr std::string_view kFolderRefusedHead =
    "Kelvaro Mod cannot change the game folder\n\n";
inline constexpr std::string_view kFolderRefusedTail =
    "\n\nChanging it needs administrator rights.";
inline constexpr std::string_view kRestartQuestion = "\n\nRestart Kelvaro Mod as administrator?";
inline constexpr std::string_view kGoingOnUnchanged =
    "\n\nKelvaro Mod goes on without changing it.";
inline constexpr std::string_view kRestartFailed = "Unable to start Kelvaro Mod as administrator.";
// The command line of a launcher started again as administrator, which
// never offers that restart itself, and goes on with a tier's start.
inline constexpr std::string_view kRestartedOption = "/restarted-as-administrator";
inline constexpr std::string_view kStartTierOption = "/start-tier:";

inline constexpr std::string_view kGameProgram = "generals.exe";
inline constexpr std::string_view kModOption = " -mod Kelvaro";
inline constexpr std::string_view kArchivePrefix = "Kelvaro";
inline constexpr std::string_view kArchiveSuffix = ".big";

inline constexpr std::string_view kIniFolder = "Data\\INI\\";
inline constexpr std::string_view kHiddenIniFolder = "Data\\xINIx\\";
inline constexpr std::string_view kGameScript = "Data\\Scripts\\SkirmishScripts.scb";
inline constexpr std::string_view kScriptBackup = "Data\\Scripts\\SkirmishScripts.xxx";
inline constexpr std::string_view kTierScriptPrefix = "Kelvaro Mod\\SkirmishScripts";
inline constexpr std::string_view kTierScriptSuffix = ".scb";

}  // namespace kelvaro::texts
