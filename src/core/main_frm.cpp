#include "main_frm.h"

#include "number.h"
#include "pub_var.h"
#include "reg_keys.h"
#include "start_options.h"
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
    if (refused_) OfferRestart({});
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

// Windows refused a change to the game folder for want of rights. The player
// is told, and offered to have the launcher start again as administrator
// where that can help; otherwise the launcher goes on without the change.
MainFrm::Offer MainFrm::OfferRestart(std::string_view tag) {
    const std::string refusal = std::string(texts::kFolderRefusedHead) + GameFolder +
                                std::string(texts::kFolderRefusedTail);
    if (!os_.elevation.CanRestartElevated()) {
        os_.messages.Show(refusal + std::string(texts::kGoingOnUnchanged), Icon::Exclamation);
        return Offer::GoneOn;
    }
    if (!os_.messages.Ask(refusal + std::string(texts::kRestartQuestion))) return Offer::GoneOn;
    // Never two launchers changing the folder: everything goes back first.
    INIFolderCheck("Quit");
    MoveScriptFile("Restore");
    std::string reason;
    switch (os_.elevation.RestartElevated(RestartCommandLine(tag), &reason)) {
        case Restart::Started:
            view_.UnloadWindows();
            view_.EndProcess();
            return Offer::Restarted;
        case Restart::Failed:
            os_.messages.Show(std::string(texts::kRestartFailed) + "\n\n" + reason, Icon::Critical);
            break;
        case Restart::Declined:
            break;
    }
    // As if the player had answered No.
    PrepareGameFolder();
    return Offer::PutBack;
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
    if (refused_) {
        const Offer offer = OfferRestart(SelectedLevel);
        if (offer == Offer::Restarted) return;
        if (offer == Offer::PutBack) MoveScriptFile("Start");
    }
    trace::PhaseEnd("checks and swap");
    LaunchGame();
}

void MainFrm::PressStartFor(int index) {
    view_.CheckTech(index);
    TechClick(index);
    Command1Click();
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
