// The game data swaps: the game's loose INI folder is hidden while the
// launcher runs, and for tiers 1 to 3 the game's skirmish AI script is moved
// aside for the tier's own. Nothing is remembered: every step decides from
// what is on disk, and a step that fails is skipped without a word. Only a
// change that Windows refused for want of rights is noted, for the launcher
// to tell the player once the swap is done.
#include <algorithm>
#include <vector>

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

std::string MainFrm::TierScriptPath(const std::string& tier) const {
    return UserDataFolder + std::string(texts::kTierScriptPrefix) + tier +
           std::string(texts::kTierScriptSuffix);
}

void MainFrm::SubstituteScript() {
    std::optional<double> tier = NumberFromText(SelectedLevel);
    if (!tier || *tier >= kFirstUnsubstitutedTier) return;

    std::string tierScript = TierScriptPath(SelectedLevel);
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

// The game has no manifest, so Windows virtualizes it, as it did the
// launcher that the mod's players used before this one: that launcher's
// copies of a tier's script, and of the game's own as their backup, went
// into the player's VirtualStore, and one left there (by a kill, say) is
// what the game reads at every tier, whatever this launcher swaps in the
// game folder. A copy of a tier's script or of the game's own goes; one of
// other bytes is the player's own, and stays. No rights are needed: the
// VirtualStore is the player's.
void MainFrm::VirtualStoreCheck() {
    const std::string store = VirtualStoreFolder();
    if (store.empty()) return;
    std::vector<std::string> known = {GamePath(texts::kGameScript), GamePath(texts::kScriptBackup)};
    for (int tier = 1; tier < kFirstUnsubstitutedTier; ++tier)
        known.push_back(TierScriptPath(std::to_string(tier)));
    for (std::string_view relative : {texts::kGameScript, texts::kScriptBackup}) {
        const std::string copy = store + std::string(relative);
        if (os_.files.Lookup(copy) != Entry::NormalFile) continue;
        if (std::ranges::any_of(known, [&](const std::string& script) {
                return os_.files.SameBytes(copy, script);
            })) {
            os_.files.Delete(copy);
        }
    }
}

// Only a folder on a drive letter has one: "C:\Games\Generals\" is
// "<local application data>\VirtualStore\Games\Generals\".
std::string MainFrm::VirtualStoreFolder() const {
    const std::string local = os_.shell.GetSpecialFolder(texts::kLocalAppDataFolderId);
    const std::string& game = PubVar::GameFolder;
    if (local.empty() || game.size() < 3 || game[1] != ':' || game[2] != '\\') return {};
    return local + std::string(texts::kVirtualStore) + game.substr(2);
}

bool MainFrm::Made(Change change) {
    if (change == Change::Refused) refused_ = true;
    return change == Change::Made;
}

}  // namespace kelvaro
