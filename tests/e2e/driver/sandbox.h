// A game install and a player's game data folder inside the current Wine
// prefix (or Windows machine), built afresh for each scenario: the game's
// registry entry, C:\KelvaroSandbox\Generals\ with the stand-in game as
// generals.exe, and <Documents>\Command and Conquer Generals Data\ with the
// mod files the scenario chooses.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "snapshot.h"

namespace kelvaro::e2e {

struct SandboxSetup {
    bool registryEntry = true;  // "InstallPath" names the game folder
    bool gameProgram = true;    // generals.exe (the stand-in) is installed
    std::set<int> archives = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::set<int> tierScripts = {1, 2, 3};
    bool gameWindow = false;  // the stand-in shows a window and stays
    // The game's install folder, under Root() and ending in "\"; empty:
    // GameFolder(). Its text is in the system code page, as the launcher's is.
    std::string gameFolder = {};
    // What "InstallPath" holds; empty: the game folder.
    std::string installPath = {};
};

// One start of the stand-in game, as it logged it.
struct GameStart {
    std::string commandLine;
    bool iniFolder = false;        // Data\INI\ existed
    bool hiddenIniFolder = false;  // Data\xINIx\ existed
    std::string script;            // fingerprint of the game script, or "missing"
    std::string token;             // its token's elevation: "limited", "full" or "default"
};

// A snapshot of the game folder, each file's bytes by their fingerprint.
using FolderTree = testing::Tree;

class Sandbox {
  public:
    // Unix path of the stand-in game built beside the tests, in any form
    // that Wine maps (a "Z:" path is made of it).
    explicit Sandbox(const SandboxSetup& setup, const std::string& standinProgram);

    static std::string Root();        // C:\KelvaroSandbox\ (trailing backslash)
    static std::string GameFolder();  // C:\KelvaroSandbox\Generals\ (trailing backslash)
    static std::string WorkFolder();  // an empty folder: the launcher's current folder
    std::string UserDataFolder() const;
    std::string InstallFolder() const { return game_; }  // the setup's game folder

    // The registry entry; the 32-bit view, where the game's installer writes.
    static void WriteInstallPath(const std::string& value);
    static void DeleteInstallPath();

    FolderTree GameTree() const;  // the stand-in's own files left out
    FolderTree PristineTree() const { return pristine_; }
    std::vector<GameStart> GameStarts() const;

    static std::string GameScriptBytes();
    static std::string TierScriptBytes(int tier);

  private:
    std::string documents_;
    std::string game_;
    FolderTree pristine_;
};

// Registers `recorder` as the opener of http and https addresses for as long
// as it lives, each opened address logged as one line of `log`. Wine's
// ShellExecute looks only at HKEY_CLASSES_ROOT, that is the machine's
// Software\Classes (Windows looks at the user's classes first), so that is
// where the registration goes; the previous openers come back at the end.
class WebHandler {
  public:
    WebHandler(const std::string& recorder, const std::string& log);
    ~WebHandler();
    WebHandler(const WebHandler&) = delete;
    WebHandler& operator=(const WebHandler&) = delete;

    std::vector<std::string> Opened() const;

  private:
    std::string log_;
    std::map<std::string, std::string> previous_;  // scheme -> command
};

// A Unix path as Wine sees it from Windows programs: Z:\ is the root.
std::string WindowsPath(const std::string& unixPath);

// Removes a folder with everything in it; a missing folder is fine.
void RemoveTree(const std::string& folder);

// The file system's own name of a path in the system code page: the narrow
// forms of std::filesystem take their text as UTF-8 under MinGW.
std::filesystem::path NativePath(const std::string& path);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace kelvaro::e2e
