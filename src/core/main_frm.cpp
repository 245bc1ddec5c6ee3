#include "main_frm.h"

#include "number.h"
#include "pub_var.h"
#include "reg_keys.h"
#include "texts.h"
#include "tiers.h"
#include "trace.h"

namespace kelvaro {

using PubVar::GameFolder;

MainFrm::MainFrm(Services services, MainFrmView& view) : os_(services), view_(view) {}

void MainFrm::Initialize() {
    os_.shell.InitControlStyles();
}

void MainFrm::Load() {
    UserDataFolder =
        os_.shell.GetSpecialFolder(texts::kDocumentsFolderId) + std::string(texts::kUserDataSuffix);
    trace::PhaseEnd("documents folder");
    GameFolder = RegKeys::ReadRegistryPath(os_.registry, texts::kInstallPathKey);
    trace::PhaseEnd("registry read");
    if (GameFolder.empty()) {
        os_.messages.Show(std::string(texts::kGameNotLocated), Icon::Critical);
        view_.ShowPathFrm();
    }
    view_.CheckTech(kPlainGameTier);
    TechClick(kPlainGameTier);
    trace::PhaseEnd("tier 10 selected");
    refused_ = false;
    PrepareGameFolder();
    VirtualStoreCheck();
    trace::PhaseEnd("VirtualStore check");
}

void MainFrm::Shown() {
    OfferGrantFor(&MainFrm::PrepareGameFolder);
}

// The game folder as the launcher keeps it while it runs: the INI folder
// hidden, and the game's own AI script back where an earlier run left a
// tier's in its place.
void MainFrm::PrepareGameFolder() {
    INIFolderCheck("Start");
    trace::PhaseEnd("INI folder hidden");
    ScriptFileCheck();
    trace::PhaseEnd("script check");
}

// Windows refused a change to the game folder for want of rights. The
// player is told, and asked whether to let their own account change the
// game's Data folder, once and for all; after that grant the change is made
// again, and a refusal even then is told, never asked again. A launcher with
// an administrator's rights already is only told: no grant would help it.
void MainFrm::OfferGrantFor(void (MainFrm::*change)()) {
    if (!refused_) return;
    refused_ = false;
    if (!OfferGrant()) return;
    (this->*change)();
    if (refused_) Tell(texts::kStillRefused);
    refused_ = false;
}

bool MainFrm::OfferGrant() {
    if (os_.elevation.HasEveryRight()) {
        Tell(texts::kRefusedToAdministrators);
        return false;
    }
    if (!os_.messages.Ask(std::string(texts::kFolderRefusedHead) + GameFolder +
                          std::string(texts::kFolderRefusedTail) +
                          std::string(texts::kGrantQuestion))) {
        return false;
    }
    std::string reason;
    switch (os_.elevation.GrantDataFolder(GameFolder, &reason)) {
        case Grant::Made:
            return true;
        case Grant::Failed:
            os_.messages.Show(std::string(texts::kGrantFailed) + "\n\n" + reason, Icon::Critical);
            break;
        case Grant::Declined:
            break;
    }
    return false;
}

void MainFrm::Tell(std::string_view why) {
    os_.messages.Show(std::string(texts::kFolderRefusedHead) + GameFolder + std::string(why) +
                          std::string(texts::kGoingOnUnchanged),
                      Icon::Exclamation);
}

void MainFrm::TechClick(int index) {
    SelectedLevel = view_.TechTag(index);
    if (NumberFromText(SelectedLevel) != kPlainGameTier) {
        std::string archive = UserDataFolder + std::string(texts::kArchivePrefix) + SelectedLevel +
                              std::string(texts::kArchiveSuffix);
        if (os_.files.Lookup(archive) == Entry::NormalFile) {
            ArchiveError.clear();
        } else {
            ArchiveError = archive + std::string(texts::kArchiveMissingTail);
            os_.messages.Show(ArchiveError, Icon::Critical);
        }
    } else {
        ArchiveError.clear();
    }
    std::string tag = view_.TechTag(index);
    for (const Tier& tier : kTiers) {
        if (tag == tier.tag) {
            view_.SetLabel1(std::string(tier.description));
            break;
        }
    }
}

void MainFrm::Command1Click() {
    trace::PhaseEnd("click to its handler");
    if (!ArchiveError.empty()) {
        os_.messages.Show(ArchiveError, Icon::Critical);
        return;
    }
    if (os_.files.Lookup(GameFolder + std::string(texts::kGameProgram)) != Entry::NormalFile) {
        os_.messages.Show(std::string(texts::kGameProgramMissing), Icon::Critical);
        return;
    }
    refused_ = false;
    MoveScriptFile("Start");
    OfferGrantFor(&MainFrm::PrepareAndSubstitute);
    trace::PhaseEnd("checks and swap");
    LaunchGame();
}

// After a grant at "Start Generals": the INI folder too, where the same
// refusal kept it at start-up, then the tier's script.
void MainFrm::PrepareAndSubstitute() {
    INIFolderCheck("Start");
    SubstituteScript();
}

// The program path is quoted and named as the application, so that a folder
// with spaces can never start another program; the game reads its options
// after the path either way.
void MainFrm::LaunchGame() {
    std::string program = GameFolder + std::string(texts::kGameProgram);
    std::string commandLine = "\"" + program + "\"";
    if (SelectedLevel != TierAt(kPlainGameTier).tag) {
        commandLine +=
            std::string(texts::kModOption) + SelectedLevel + std::string(texts::kArchiveSuffix);
    }
    std::string reason;
    const bool started = os_.processes.Start(program, commandLine, &reason);
    trace::PhaseEnd("game process created");
    if (!started) {
        os_.messages.Show(std::string(texts::kGameNotStarted) + program + "\n\n" + reason,
                          Icon::Critical);
    }
}

void MainFrm::Label4Click() {
    os_.shell.OpenWebPage(std::string(texts::kWebPage));
}

void MainFrm::ExitSequence() {
    INIFolderCheck("Quit");
    MoveScriptFile("Restore");
    view_.UnloadWindows();
    view_.EndProcess();
}

}  // namespace kelvaro
