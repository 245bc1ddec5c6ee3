// Everything a launcher run needs, around a pristine game install in a fresh
// temporary folder: the real file system behind a scripted one, a registry
// that names the game's folder, a shell that knows the documents folder, and
// recording fakes for the rest, all writing into one journal.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fakes.h"
#include "game_install.h"
#include "main_frm.h"
#include "memory_registry.h"
#include "real_file_system.h"
#include "scripted_file_system.h"
#include "snapshot.h"

namespace kelvaro::testing {

// The swaps' calls as the journal shows them.
inline const std::string kHideIni = "rename <game>" + kIni + " -> <game>" + kHiddenIni;
inline const std::string kShowIni = "rename <game>" + kHiddenIni + " -> <game>" + kIni;
inline const std::string kFindBackup = "lookup <game>" + kBackup;
inline const std::string kMoveAside = "rename <game>" + kScript + " -> <game>" + kBackup;
inline const std::string kDeleteScript = "delete <game>" + kScript;
inline const std::string kMoveBack = "rename <game>" + kBackup + " -> <game>" + kScript;

// The game folder's swap states, as GameState() describes them.
inline const std::string kPristine = "INI, script own, backup none";
inline const std::string kPrepared = "xINIx, script own, backup none";
inline std::string Substituted(int tier) {
    return "xINIx, script tier " + std::to_string(tier) + ", backup own";
}

class LauncherRig {
  public:
    // A pristine game with generals.exe, archives for tiers 1 to 9 and AI
    // scripts for tiers 1 to 3.
    LauncherRig();
    ~LauncherRig();

    // A main window created and initialised; StartUp() also loads and shows it.
    std::unique_ptr<MainFrm> NewMainFrm();
    std::unique_ptr<MainFrm> StartUp();

    // Runs launcher events on `frm`, one per step: "start-up" (a new
    // launcher over whatever the last one left, as after a kill), a tier's
    // tag (the start button's substitution for that tier), "restore", "quit"
    // (the exit sequence), "press N": tier N selected and "Start Generals"
    // pressed, and "drop script": the game script vanishes.
    void Run(const std::vector<std::string>& steps);

    std::filesystem::path Game(const std::string& relative) const { return install.Game(relative); }
    Tree GameTree() const { return Snapshot(install.Root() / "game"); }
    // Where the INI folder is and what the game script and its backup hold,
    // e.g. "xINIx, script tier 2, backup own".
    std::string GameState() const;
    // The game data folder as the launcher builds it from the documents folder.
    std::string DataFolder() const;
    // What the launcher says first when Windows refuses it a change to the
    // game folder, before why and its question or its notice.
    std::string Refusal() const;

    GameInstall install;
    Journal journal;
    RealFileSystem disk;
    ScriptedFileSystem files{disk, journal};
    MemoryRegistry registry;
    FakeShell shell{journal};
    FakeProcessStarter processes{journal};
    FakeMessageBox messages{journal};
    FakeElevation elevation{journal};
    FakeMainFrmView view{journal};
    Tree pristine;  // the game folder as the rig made it
    std::unique_ptr<MainFrm> frm;
};

}  // namespace kelvaro::testing
