#include <gtest/gtest.h>

#include <optional>

#include "launcher_rig.h"
#include "path_frm.h"
#include "pub_var.h"

namespace kelvaro::testing {
namespace {

TEST(PathFrm, AcceptsOnlyPathsEndingInGeneralsExe) {
    struct Row {
        const char* text;
        std::optional<std::string> folder;
    } rows[] = {
        {"C:\\Games\\Generals\\generals.exe", "C:\\Games\\Generals\\"},
        {"C:\\Games\\Generals\\Generals.exe", std::nullopt},
        {"C:\\Games\\Generals\\GENERALS.EXE", std::nullopt},
        {"C:\\Games\\Generals\\generals.exe ", std::nullopt},
        {"generals.exe", ""},
        {"C:\\Gamesgenerals.exe", "C:\\Games"},
        {"D:\\Not there\\generals.exe", "D:\\Not there\\"},
        {"enerals.exe", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row& row : rows) {
        LauncherRig rig;
        FakePathFrmView view(rig.journal);
        std::unique_ptr<MainFrm> mainFrm = rig.NewMainFrm();
        PathFrm pathFrm(view, rig.messages, *mainFrm);
        PubVar::GameFolder = "before";
        view.text1 = row.text;
        rig.journal.clear();
        pathFrm.Command1Click();
        const std::string name = '"' + std::string(row.text) + '"';
        if (row.folder) {
            EXPECT_EQ(PubVar::GameFolder, *row.folder) << name;
            EXPECT_EQ(rig.journal, Journal{"unload PathFrm"}) << name;
        } else {
            EXPECT_EQ(PubVar::GameFolder, "before") << name;
            EXPECT_EQ(rig.journal,
                      Journal{"critical: Wrong path selected! Try to locate generals.exe"})
                << name;
            EXPECT_EQ(view.text1, row.text) << name;
        }
    }
}

TEST(PathFrm, BrowsePutsTheOpenBoxFileNameIntoText1) {
    struct Row {
        const char* name;
        std::vector<std::string> choices;  // one per browse; empty = cancel
        std::string text1;
    } rows[] = {
        {"a choice", {"C:\\A\\generals.exe"}, "C:\\A\\generals.exe"},
        {"a second choice", {"C:\\A\\generals.exe", "D:\\B\\generals.exe"}, "D:\\B\\generals.exe"},
        {"a cancel after a choice", {"C:\\A\\generals.exe", ""}, "C:\\A\\generals.exe"},
        {"a cancel before any choice", {""}, ""},
    };
    for (const Row& row : rows) {
        LauncherRig rig;
        FakePathFrmView view(rig.journal);
        std::unique_ptr<MainFrm> mainFrm = rig.NewMainFrm();
        PathFrm pathFrm(view, rig.messages, *mainFrm);
        for (const std::string& choice : row.choices) {
            view.text1 = "typed by the player";
            view.nextChoice = choice;
            pathFrm.Command3Click();
        }
        EXPECT_EQ(view.text1, row.text1) << row.name;
    }
}

TEST(PathFrm, QuitRunsTheExitSequenceFirst) {
    LauncherRig rig;
    rig.Run({"start-up", "1"});
    FakePathFrmView view(rig.journal);
    PathFrm pathFrm(view, rig.messages, *rig.frm);
    pathFrm.Command2Click();
    EXPECT_EQ(rig.GameTree(), rig.pristine);
    const Journal tail(rig.journal.end() - 4, rig.journal.end());
    EXPECT_EQ(tail, (Journal{"unload windows", "end process", "unload PathFrm", "end process"}));
}

}  // namespace
}  // namespace kelvaro::testing
