#include <gtest/gtest.h>

#include "launcher_rig.h"

namespace kelvaro::testing {
namespace {

namespace fs = std::filesystem;

TEST(Swaps, StateTable) {
    struct Row {
        const char* name;
        std::vector<std::string> steps;
        std::string state;
    } rows[] = {
        {"start-up", {"start-up"}, kPrepared},
        {"tier 1", {"start-up", "1"}, Substituted(1)},
        {"tier 2", {"start-up", "2"}, Substituted(2)},
        {"tier 3", {"start-up", "3"}, Substituted(3)},
        {"tier 2 then 3", {"start-up", "2", "3"}, Substituted(3)},
        {"tier 2 twice", {"start-up", "2", "2"}, Substituted(2)},
        {"tier 2 then 5", {"start-up", "2", "5"}, Substituted(2)},
        {"exit from Prepared, no backup", {"start-up", "quit"}, kPristine},
        {"exit from Substituted", {"start-up", "3", "quit"}, kPristine},
        {"exit twice", {"start-up", "3", "quit", "quit"}, kPristine},
        {"restore twice", {"start-up", "3", "restore", "restore"}, kPrepared},
        {"restore with a backup and no script",
         {"start-up", "3", "drop script", "restore"},
         kPrepared},
        {"start-up after a kill in Prepared", {"start-up", "start-up"}, kPrepared},
        {"start-up after a kill in Substituted", {"start-up", "2", "start-up"}, kPrepared},
        {"exit after that repair", {"start-up", "2", "start-up", "quit"}, kPristine},
        {"a second run", {"start-up", "1", "quit", "start-up", "2"}, Substituted(2)},
        {"game without a script",
         {"drop script", "start-up", "1"},
         "xINIx, script tier 1, backup none"},
        {"its exit keeps the copy",
         {"drop script", "start-up", "1", "quit"},
         "INI, script tier 1, backup none"},
    };
    for (const Row& row : rows) {
        LauncherRig rig;
        rig.Run(row.steps);
        EXPECT_EQ(rig.GameState(), row.state) << row.name;
        if (row.state == kPristine) {
            EXPECT_EQ(rig.GameTree(), rig.pristine) << row.name;
        }
        EXPECT_TRUE(rig.messages.shown.empty()) << row.name;
    }
}

// Not even a look-up: from Substituted, the earlier tier's copy stays.
TEST(Swaps, LevelsThatSubstituteNothingTouchNothing) {
    for (const char* level :
         {"4", "5", "6", "7", "8", "9", "10", "", "x", "2x", "nan", "inf", "-inf"}) {
        LauncherRig rig;
        rig.Run({"start-up", "2"});
        size_t before = rig.journal.size();
        rig.Run({level});
        EXPECT_EQ(rig.journal.size(), before) << '"' << level << '"';
        EXPECT_EQ(rig.GameState(), Substituted(2)) << '"' << level << '"';
    }
}

TEST(Swaps, MissingTierScriptWarnsAndLeavesTheFolder) {
    struct Row {
        const char* name;
        std::vector<std::string> steps;
        bool folderInItsPlace;
    } rows[] = {
        {"from Prepared", {"start-up"}, false},
        {"from Substituted", {"start-up", "2"}, false},
        {"a folder in its place", {"start-up"}, true},
    };
    for (const Row& row : rows) {
        LauncherRig rig;
        fs::path tierScript = rig.install.UserData("Kelvaro Mod\\SkirmishScripts3.scb");
        fs::remove(tierScript);
        if (row.folderInItsPlace) fs::create_directory(tierScript);
        rig.Run(row.steps);
        Tree before = rig.GameTree();
        rig.Run({"3"});
        ASSERT_EQ(rig.messages.shown.size(), 1u) << row.name;
        EXPECT_EQ(rig.messages.shown[0].text,
                  rig.DataFolder() +
                      "Kelvaro Mod\\SkirmishScripts3.scb not found! AI script file not loaded!")
            << row.name;
        EXPECT_EQ(rig.messages.shown[0].icon, Icon::Exclamation) << row.name;
        EXPECT_EQ(rig.GameTree(), before) << row.name;
    }
}

TEST(Swaps, OtherModeWordsDoNothing) {
    LauncherRig rig;
    rig.Run({"start-up", "2"});
    rig.journal.clear();
    for (const char* mode : {"start", "START", "Restore", "quit", "", "Quit ", " Start"}) {
        rig.frm->INIFolderCheck(mode);
    }
    for (const char* mode : {"restore", "RESTORE", "Quit", "start", "", "Restore ", "Start\n"}) {
        rig.frm->MoveScriptFile(mode);
    }
    EXPECT_EQ(rig.journal, Journal{});
    EXPECT_EQ(rig.GameState(), Substituted(2));
}

TEST(Swaps, IniFolderConflictsChangeNothing) {
    for (bool bothPresent : {true, false}) {
        LauncherRig rig;
        if (bothPresent) fs::create_directory(rig.Game(kHiddenIni));
        if (!bothPresent) fs::remove_all(rig.Game(kIni));
        Tree before = rig.GameTree();
        rig.Run({"start-up"});
        EXPECT_EQ(rig.GameTree(), before) << (bothPresent ? "both" : "no INI folder");
        rig.Run({"quit"});
        EXPECT_EQ(rig.GameTree(), before) << (bothPresent ? "both" : "no INI folder");
    }
}

// Each failing step is skipped silently; once the failures are gone, one more
// run brings the game folder back byte for byte. A fault is the journal line
// of a call that fails, or "unknown " and a path whose look-up fails. Each
// row runs again with its calls refused for want of rights instead: the same
// steps are skipped, and the player is told once, after the start-up's swaps
// or before the game starts, never at the exit. Here the launcher cannot
// start again as administrator, so it only tells.
TEST(Swaps, FailingOrRefusedStepsAreSkipped) {
    const std::string kCopy2 = "copy <data>Kelvaro Mod\\SkirmishScripts2.scb -> <game>" + kScript;
    const std::string kTier2Unknown = "unknown <data>Kelvaro Mod\\SkirmishScripts2.scb";
    const std::string kScriptUnknown = "unknown <game>" + kScript;
    const std::string kBackupUnknown = "unknown <game>" + kBackup;
    const std::string kBothLeft = "INI, script tier 2, backup own";
    const std::string kBackupLeft = "INI, script none, backup own";
    const std::vector<std::string> kStarted = {"start-up"}, kSubstituted = {"start-up", "2"};
    struct Row {
        const char* name;
        std::vector<std::string> before, faults;
        std::string step, state;
    } rows[] = {
        {"INI folder not hidden", {}, {kHideIni}, "start-up", kPristine},
        {"INI folder not brought back", kSubstituted, {kShowIni}, "quit", kPrepared},
        {"tier script look-up fails", kStarted, {kTier2Unknown}, "press 2", Substituted(2)},
        {"script not moved aside", kStarted, {kMoveAside}, "press 2", kPrepared},
        {"not moved, backup unknown", kStarted, {kMoveAside, kBackupUnknown}, "press 2", kPrepared},
        {"not moved, script unknown", kStarted, {kMoveAside, kScriptUnknown}, "press 2", kPrepared},
        {"not moved over a backup", kSubstituted, {kMoveAside}, "press 3", Substituted(3)},
        {"tier script not copied", kStarted, {kCopy2}, "press 2", "xINIx, script none, backup own"},
        {"script not deleted", kSubstituted, {kDeleteScript}, "quit", kBothLeft},
        {"backup not moved back", kSubstituted, {kMoveBack}, "quit", kBackupLeft},
        {"left-over script not deleted", kSubstituted, {kDeleteScript}, "start-up", Substituted(2)},
        {"left-over backup not moved back",
         kSubstituted,
         {kMoveBack},
         "start-up",
         "xINIx, script none, backup own"},
        {"backup unknown at exit", kSubstituted, {kBackupUnknown}, "quit", kBothLeft},
        {"backup unknown at start-up", kSubstituted, {kBackupUnknown}, "start-up", Substituted(2)},
    };
    for (const Row& row : rows) {
        for (bool refused : {false, true}) {
            LauncherRig rig;
            rig.Run(row.before);
            bool changeFails = false;
            for (const std::string& fault : row.faults) {
                changeFails |= !fault.starts_with("unknown ");
                if (fault.starts_with("unknown "))
                    rig.files.answers[fault.substr(8)] = Entry::Unknown;
                if (!fault.starts_with("unknown "))
                    (refused ? rig.files.refusing : rig.files.failing).insert(fault);
            }
            if (refused && !changeFails) continue;
            const std::string name = std::string(row.name) + (refused ? ", refused" : "");
            rig.Run({row.step});
            EXPECT_EQ(rig.GameState(), row.state) << name;
            // A refusal asks the player (who answers No); a failure is silent.
            EXPECT_TRUE(rig.messages.shown.empty()) << name;
            EXPECT_EQ(rig.messages.asked.size(), refused && row.step != "quit" ? 1u : 0u) << name;

            rig.files.failing.clear();
            rig.files.refusing.clear();
            rig.files.answers.clear();
            rig.Run({"start-up", "quit"});
            EXPECT_EQ(rig.GameTree(), rig.pristine) << name << ", next run";
        }
    }
}

}  // namespace
}  // namespace kelvaro::testing
