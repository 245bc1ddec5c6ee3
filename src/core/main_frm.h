// MainFrm: the launcher's main window as its logic sees it. It owns three of
// the four launcher strings, runs start-up, tier selection, the launch and the
// exit sequence, and the three swaps of the game's install folder.
#pragma once

#include <string>

#include "platform.h"

namespace kelvaro {

struct Services {
    FileSystem& files;
    Registry& registry;
    Shell& shell;
    ProcessStarter& processes;
    MessageBox& messages;
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

    // The game data swaps. Mode words: "Start", "Quit", "Restore".
    void INIFolderCheck(const std::string& mode);
    void MoveScriptFile(const std::string& mode);
    void ScriptFileCheck();

  private:
    void ExitSequence();
    void LaunchGame();
    void SubstituteScript();
    void RestoreScript();
    std::string TierScriptPath() const;

    Services os_;
    MainFrmView& view_;
};

}  // namespace kelvaro
