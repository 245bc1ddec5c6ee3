// MainFrm: the launcher's main window as its logic sees it. It owns three of
// the four launcher strings, runs start-up, tier selection, the launch and the
// exit sequence, and the three swaps of the game's install folder.
#pragma once

#include <string>
#include <string_view>

#include "platform.h"

namespace kelvaro {

struct Services {
    FileSystem& files;
    Registry& registry;
    Shell& shell;
    ProcessStarter& processes;
    MessageBox& messages;
    Elevation& elevation;
};

class MainFrm {
  public:
    MainFrm(Services services, MainFrmView& view);

    std::string UserDataFolder;
    std::string SelectedLevel;
    std::string ArchiveError;

    // Window events.
    void Initialize();
    void Load();
    void TechClick(int index);
    void Command1Click();
    void Command2Click() { ExitSequence(); }
    void Label4Click();
    void QueryUnload() { ExitSequence(); }
    // The window shows for the first time: a change that Windows refused at
    // start-up is offered now, with the window in front of the player.
    void Shown();

    // The game data swaps. Mode words: "Start", "Quit", "Restore".
    void INIFolderCheck(const std::string& mode);
    void MoveScriptFile(const std::string& mode);
    void ScriptFileCheck();
    // Copies of the game's script that Windows virtualized into the
    // player's VirtualStore, where they hide the game folder's from the game.
    void VirtualStoreCheck();

  private:
    void ExitSequence();
    void PrepareGameFolder();
    void PrepareAndSubstitute();
    // After a change that Windows refused for want of rights: the offer of a
    // grant, and `change` made once more after one.
    void OfferGrantFor(void (MainFrm::*change)());
    // Whether the player's account was let change the game's Data folder.
    bool OfferGrant();
    void Tell(std::string_view why);
    void LaunchGame();
    void SubstituteScript();
    void RestoreScript();
    std::string TierScriptPath(const std::string& tier) const;
    // The game folder's copy in the player's VirtualStore, or empty.
    std::string VirtualStoreFolder() const;
    // Whether a change to the game folder was made; notes a refusal.
    bool Made(Change change);

    Services os_;
    MainFrmView& view_;
    // A change to the game folder was refused for want of rights since the
    // start-up or the start button began changing it.
    bool refused_ = false;
};

}  // namespace kelvaro
