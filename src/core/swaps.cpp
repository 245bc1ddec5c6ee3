// The game data swaps: the game's loose INI folder is hidden while the
// launcher runs, and for tiers 1 to 3 the game's skirmish AI script is moved
// aside for the tier's own. Nothing is remembered: every step decides from
// what is on disk, and a step that fails is skipped without a word. Only a
// change that Windows refused for want of rights is noted, for the launcher
// to tell the player once the swap is done.
#include "main_frm.h"
#include "number.h"
#include "pub_var.h"
#include "texts.h"

namespace kelvaro {

namespace {

constexpr double kFirstUnsubstitutedTier = 4;

std::string GamePath(std::string_view relative) {
    return PubVar::GameFolder + std::string(relative);
}

}  // namespace

void MainFrm::INIFolderCheck(const std::string& mode) {
    if (mode == "Start") {
        Made(os_.files.Rename(GamePath(texts::kIniFolder), GamePath(texts::kHiddenIniFolder)));
    } else if (mode == "Quit") {
        Made(os_.files.Rename(GamePath(texts::kHiddenIniFolder), GamePath(texts::kIniFolder)));
    }
}

void MainFrm::MoveScriptFile(const std::string& mode) {
    if (mode == "Start") {
        SubstituteScript();
    } else if (mode == "Restore") {
        RestoreScript();
    }
}

void MainFrm::ScriptFileCheck() {
    RestoreScript();
}

std::string MainFrm::TierScriptPath() const {
    return UserDataFolder + std::string(texts::kTierScriptPrefix) + SelectedLevel +
           std::string(texts::kTierScriptSuffix);
}

void MainFrm::SubstituteScript() {
    std::optional<double> tier = NumberFromText(SelectedLevel);
    if (!tier || *tier >= kFirstUnsubstitutedTier) return;

    std::string tierScript = TierScriptPath();
    Entry found = os_.files.Lookup(tierScript);
    if (found == Entry::Missing || found == Entry::Other) {
        os_.messages.Show(tierScript + std::string(texts::kTierScriptMissingTail),
                          Icon::Exclamation);
        return;
    }

    std::string gameScript = GamePath(texts::kGameScript);
    std::string backup = GamePath(texts::kScriptBackup);
    bool movedAside = Made(os_.files.Rename(gameScript, backup));
    // Never copy over the game's own script unless a backup of it exists.
    if (!movedAside && os_.files.Lookup(backup) != Entry::NormalFile &&
        os_.files.Lookup(gameScript) != Entry::Missing) {
        return;
    }
    Made(os_.files.Copy(tierScript, gameScript));
}

// Also the start-up repair of a substitution that an earlier run left behind.
void MainFrm::RestoreScript() {
    std::string backup = GamePath(texts::kScriptBackup);
    if (os_.files.Lookup(backup) != Entry::NormalFile) return;
    std::string gameScript = GamePath(texts::kGameScript);
    Made(os_.files.Delete(gameScript));
    Made(os_.files.Rename(backup, gameScript));
}

bool MainFrm::Made(Change change) {
    if (change == Change::Refused) refused_ = true;
    return change == Change::Made;
}

}  // namespace kelvaro
