// What the end-to-end suites share: a sandbox with the real launcher in it,
// the game folder as the launcher leaves it after start-up and after "Start
// Generals", the game's command line, and the rows of their tables.
#pragma once

#include <gtest/gtest.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "fnv.h"
#include "game_install.h"
#include "launcher.h"
#include "sandbox.h"

namespace kelvaro::e2e {

using testing::kBackup;
using testing::kHiddenIni;
using testing::kIni;
using testing::kScript;

inline const std::string kGameMissing =
    "Unable to find generals.exe. Make sure C&C Generals is installed correctly.";

inline std::string ModCommand(int tier, const std::string& gameFolder = Sandbox::GameFolder()) {
    return "\"" + gameFolder + "generals.exe\" -mod Kelvaro" + std::to_string(tier) + ".big";
}

// The folder as start-up leaves it: Data\INI\ and all in it under Data\xINIx\.
inline FolderTree Hidden(const FolderTree& tree) {
    FolderTree hidden;
    for (const auto& [path, bytes] : tree) {
        hidden[path.starts_with(kIni) ? kHiddenIni + path.substr(kIni.size()) : path] = bytes;
    }
    return hidden;
}

// ... and as "Start Generals" leaves it for tiers 1 to 3.
inline FolderTree Substituted(const FolderTree& pristine, int tier) {
    FolderTree tree = Hidden(pristine);
    tree[kScript] = Fingerprint(Sandbox::TierScriptBytes(tier));
    tree[kBackup] = Fingerprint(Sandbox::GameScriptBytes());
    return tree;
}

class SandboxRun : public ::testing::Test {
  protected:
    // A launcher left running by a failed row would keep the old sandbox in use.
    void Build(const SandboxSetup& setup = {}) {
        launcher_.reset();
        sandbox_ = std::make_unique<Sandbox>(setup, KELVARO_STANDIN_GAME);
    }
    void Relaunch(Rights rights = Rights::Own, const std::string& folder = Sandbox::WorkFolder(),
                  Programs programs = Programs::Counted) {
        launcher_ = std::make_unique<Launcher>(KELVARO_LAUNCHER, folder, rights, programs);
    }
    // Returns once start-up has run: the window shows only after it.
    MainWindow Launch(Rights rights = Rights::Own, Programs programs = Programs::Counted) {
        Relaunch(rights, Sandbox::WorkFolder(), programs);
        return {launcher_->WaitMainWindow()};
    }
    // Waits for the next box and dismisses it.
    MessageBoxSeen Answer() const {
        MessageBoxSeen box = launcher_->WaitMessageBox();
        launcher_->Answer(box);
        return box;
    }
    // Waits until `count` games have started and ended, and returns what the last one logged.
    GameStart Played(unsigned count = 1) const {
        WaitFor(std::to_string(count) + " game start(s)",
                [&] { return launcher_->ProgramsStarted() >= count; });
        launcher_->WaitForPrograms();
        EXPECT_EQ(launcher_->ProgramsStarted(), count);
        std::vector<GameStart> games = sandbox_->GameStarts();
        EXPECT_EQ(games.size(), count) << "games logged";
        return games.empty() ? GameStart{} : games.back();
    }
    // The next box tells `text` with the critical icon.
    void ExpectTold(const std::string& text) const {
        const MessageBoxSeen box = Answer();
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.icon, BoxIcon::Critical);
    }
    // Quit by the button; exit code 0 is the launcher's own end, not a crash.
    void Quit(const MainWindow& main) const {
        Click(main.QuitButton());
        launcher_->WaitForExit();
        EXPECT_EQ(launcher_->ExitCode(), 0u) << "exit code of the launcher";
    }
    // One row of a table: its failures, exceptions included, name the row.
    template <class Body>
    static void Row(const std::string& name, Body body) {
        SCOPED_TRACE(name);
        try {
            body();
        } catch (const std::exception& error) {
            ADD_FAILURE() << error.what();
        }
    }

    FolderTree Tree() const { return sandbox_->GameTree(); }
    FolderTree Pristine() const { return sandbox_->PristineTree(); }

    std::unique_ptr<Sandbox> sandbox_;
    std::unique_ptr<Launcher> launcher_;
};

}  // namespace kelvaro::e2e
