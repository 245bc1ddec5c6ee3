#include <gtest/gtest.h>

#include <algorithm>

#include "launcher_rig.h"
#include "pub_var.h"

namespace kelvaro::testing {
namespace {

namespace fs = std::filesystem;

const std::string kTier10 = "Label1 Normal Generals, no build or train restrictions.";

TEST(StartUp, RunsItsStepsInOrder) {
    struct Row {
        const char* name;
        bool registryKnowsTheGame;
        std::vector<std::string> before;
        Journal journal;
    } rows[] = {
        {"registry names the game",
         true,
         {},
         {"init control styles", "special folder 5", "check Tech(10)", kTier10, kHideIni,
          kFindBackup, "special folder 28"}},
        {"registry entry missing",
         false,
         {},
         {"init control styles", "special folder 5",
          "critical: Kelvaro Mod was unable to locate the C&C Generals directory, make sure "
          "Generals is installed correctly!",
          "show PathFrm", "check Tech(10)", kTier10, kHideIni, kFindBackup, "special folder 28"}},
        {"substitution left by a killed run",
         true,
         {"start-up", "2"},
         {"init control styles", "special folder 5", "check Tech(10)", kTier10, kHideIni,
          kFindBackup, kDeleteScript, kMoveBack, "special folder 28"}},
    };
    for (const Row& row : rows) {
        LauncherRig rig;
        rig.Run(row.before);
        if (!row.registryKnowsTheGame) rig.registry = MemoryRegistry();
        rig.view.onShowPathFrm = [&] { PubVar::GameFolder = rig.install.GameFolder(); };
        rig.journal.clear();
        rig.Run({"start-up"});
        EXPECT_EQ(rig.journal, row.journal) << row.name;
        EXPECT_EQ(rig.frm->SelectedLevel, "10") << row.name;
        EXPECT_EQ(rig.GameState(), kPrepared) << row.name;
    }
}

// The archives are then looked for in that folder.
TEST(StartUp, UserDataFolderIsTheDocumentsFolderAndItsSuffix) {
    LauncherRig rig;
    fs::remove(rig.install.UserData("Kelvaro3.big"));
    for (const std::string& documents : {rig.install.DocumentsFolder(), std::string()}) {
        rig.shell.documents = documents;
        rig.messages.shown.clear();
        rig.Run({"start-up"});
        const std::string expected = documents + "\\Command and Conquer Generals Data\\";
        EXPECT_EQ(rig.frm->UserDataFolder, expected);
        rig.frm->TechClick(3);
        ASSERT_EQ(rig.messages.shown.size(), 1u) << expected;
        EXPECT_TRUE(rig.messages.shown[0].text.starts_with(expected + "Kelvaro3.big could"));
    }
}

TEST(StartUp, GameFolderIsUsedExactlyAsStored) {
    LauncherRig rig;
    std::string stored = rig.install.GameFolder();
    stored.pop_back();
    rig.registry.SetString(0x80000002, "SOFTWARE\\Electronic Arts\\EA Games\\Generals",
                           "InstallPath", stored);
    rig.Run({"start-up"});
    EXPECT_EQ(PubVar::GameFolder, stored);
    const std::string hideIni = "rename " + stored + kIni + " -> " + stored + kHiddenIni;
    EXPECT_NE(std::ranges::find(rig.journal, hideIni), rig.journal.end());
    EXPECT_EQ(rig.GameState(), kPristine);
    EXPECT_TRUE(rig.messages.shown.empty());
    rig.frm->Command1Click();
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text,
              "Unable to find generals.exe. Make sure C&C Generals is installed correctly.");
}

}  // namespace
}  // namespace kelvaro::testing
