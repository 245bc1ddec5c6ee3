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
    // "Start Generals" for the tier with this index, its option selected
    // first: how a launcher started again as administrator goes on with the
    // press that asked for it.
    void PressStartFor(int index);

    // The game data swaps. Mode words: "Start", "Quit", "Restore".
    void INIFolderCheck(const std::string& mode);
    void MoveScriptFile(const std::string& mode);
    void ScriptFileCheck();

  private:
    // What became of the offer to restart as administrator.
    enum class Offer {
        GoneOn,     // not made or answered No: the folder as it was
        Restarted,  // the new launcher goes on; this one has ended
        PutBack,    // the folder was put back for it, then prepared again
    };

    void ExitSequence();
    void PrepareGameFolder();
    // `tag`: the tier whose start the new launcher goes on with, if any.
    Offer OfferRestart(std::string_view tag);
    void LaunchGame();
    void SubstituteScript();
    void RestoreScript();
    std::string TierScriptPath() const;
    // Whether a change to the game folder was made; notes a refusal.
    bool Made(Change change);

    Services os_;
    MainFrmView& view_;
    // A change to the game folder was refused for want of rights since the
    // start-up or the start button began changing it.
    bool refused_ = false;
};

}  // namespace kelvaro
