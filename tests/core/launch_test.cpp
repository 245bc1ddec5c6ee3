#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "launcher_rig.h"

namespace kelvaro::testing {
namespace {

namespace fs = std::filesystem;

TEST(Launch, StartsEachTierWithItsCommandLine) {
    for (int tier = 1; tier <= 10; ++tier) {
        LauncherRig rig;
        rig.Run({"start-up"});
        rig.frm->TechClick(tier);
        rig.frm->Command1Click();
        const std::string program = rig.install.GameFolder() + "generals.exe";
        const std::string mod = " -mod Kelvaro" + std::to_string(tier) + ".big";
        ASSERT_EQ(rig.processes.started.size(), 1u) << "tier " << tier;
        EXPECT_EQ(rig.processes.started[0].application, program) << "tier " << tier;
        EXPECT_EQ(rig.processes.started[0].commandLine,
                  "\"" + program + "\"" + (tier == 10 ? "" : mod))
            << "tier " << tier;
        EXPECT_EQ(rig.GameState(), tier <= 3 ? Substituted(tier) : kPrepared) << "tier " << tier;
        EXPECT_TRUE(rig.journal.back().starts_with("start ")) << "tier " << tier;
        EXPECT_TRUE(rig.messages.shown.empty()) << "tier " << tier;
    }
}

TEST(Launch, MissingTierScriptStillStartsTheTier) {
    LauncherRig rig;
    fs::remove(rig.install.UserData("Kelvaro Mod\\SkirmishScripts3.scb"));
    rig.Run({"start-up"});
    rig.frm->TechClick(3);
    rig.frm->Command1Click();
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].icon, Icon::Exclamation);
    ASSERT_EQ(rig.processes.started.size(), 1u);
    EXPECT_TRUE(rig.processes.started[0].commandLine.ends_with("\" -mod Kelvaro3.big"));
    EXPECT_EQ(rig.GameState(), kPrepared);
}

// A pending archive message, or no normal file at generals.exe: refused,
// nothing started or changed.
TEST(Launch, RefusalsTouchNothing) {
    const std::string gameMissing =
        "Unable to find generals.exe. Make sure C&C Generals is installed correctly.";
    struct Row {
        const char* name;
        const char* path;
        std::optional<Entry> answer;  // none: a real folder stands in the file's place
    } rows[] = {
        {"archive missing", "<data>Kelvaro2.big", Entry::Missing},
        {"generals.exe missing", "<game>generals.exe", Entry::Missing},
        {"generals.exe a folder", "<game>generals.exe", std::nullopt},
        {"generals.exe hidden", "<game>generals.exe", Entry::Other},
        {"generals.exe look-up fails", "<game>generals.exe", Entry::Unknown},
    };
    for (const Row& row : rows) {
        LauncherRig rig;
        if (row.answer) rig.files.answers[row.path] = *row.answer;
        if (!row.answer) {
            fs::remove(rig.Game("generals.exe"));
            fs::create_directory(rig.Game("generals.exe"));
        }
        rig.Run({"start-up"});
        rig.frm->TechClick(2);
        rig.messages.shown.clear();
        rig.frm->Command1Click();
        bool archive = std::string(row.path).starts_with("<data>");
        ASSERT_EQ(rig.messages.shown.size(), 1u) << row.name;
        EXPECT_EQ(rig.messages.shown[0].text, archive ? rig.frm->ArchiveError : gameMissing)
            << row.name;
        EXPECT_EQ(rig.messages.shown[0].icon, Icon::Critical) << row.name;
        EXPECT_TRUE(rig.processes.started.empty()) << row.name;
        EXPECT_EQ(rig.GameState(), kPrepared) << row.name;
    }
}

// The launcher stays open, so its exit still puts the game's folder back.
TEST(Launch, FailedStartIsReportedAndTheExitStillRestores) {
    LauncherRig rig;
    rig.processes.failure = "The system cannot find the file specified.";
    rig.Run({"start-up"});
    rig.frm->TechClick(2);
    rig.frm->Command1Click();
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    const std::string& text = rig.messages.shown[0].text;
    EXPECT_TRUE(text.starts_with("Unable to start " + rig.install.GameFolder() + "generals.exe"))
        << text;
    EXPECT_NE(text.find(rig.processes.failure), std::string::npos) << text;
    EXPECT_EQ(rig.messages.shown[0].icon, Icon::Critical);
    EXPECT_FALSE(rig.view.ended);
    EXPECT_EQ(rig.GameState(), Substituted(2));
    rig.frm->Command2Click();
    EXPECT_EQ(rig.GameTree(), rig.pristine);
}

TEST(Launch, ExitSequenceRestoresThenEnds) {
    for (bool closeBox : {false, true}) {
        LauncherRig rig;
        rig.Run({"start-up", "2"});
        closeBox ? rig.frm->QueryUnload() : rig.frm->Command2Click();
        // The folder put back first: the windows go and the process ends last.
        const Journal tail(rig.journal.end() - 2, rig.journal.end());
        EXPECT_EQ(tail, (Journal{"unload windows", "end process"}));
        EXPECT_EQ(rig.GameTree(), rig.pristine) << (closeBox ? "close box" : "quit button");
    }
}

// Windows refuses the INI folder's rename, or the script's, for want of rights
// (the game under Program Files, say): the player is asked whether to restart
// as administrator. Yes puts the folder back before the new launcher starts
// and ends this one; Windows' prompt declined, the folder is made as it was
// and the launcher goes on as after No.
TEST(Launch, ARefusedChangeOffersARestartAsAdministrator) {
    const std::string kRestart = "restart as administrator";
    const Journal kYes = {kShowIni, kFindBackup, kRestart, "unload windows", "end process"};
    const Journal kDeclined = {kShowIni, kFindBackup, kRestart, kHideIni, kFindBackup};
    Journal startDeclined = kDeclined;
    startDeclined.insert(startDeclined.end(),
                         {"lookup <data>Kelvaro Mod\\SkirmishScripts2.scb", kMoveAside,
                          "lookup <game>" + kBackup, "lookup <game>" + kScript, "start"});
    struct Row {
        const char* name;
        std::string refused, step;
        bool yes, promptTaken;
        Journal after;  // what follows the question; "start": the game's
        std::string state;
    } rows[] = {
        {"start-up, No", kHideIni, "start-up", false, true, {}, kPristine},
        {"start-up, Yes", kHideIni, "start-up", true, true, kYes, kPristine},
        {"start-up, prompt declined", kHideIni, "start-up", true, false, kDeclined, kPristine},
        {"Start Generals, No", kMoveAside, "press 2", false, true, {"start"}, kPrepared},
        {"Start Generals, Yes", kMoveAside, "press 2", true, true, kYes, kPristine},
        {"Start Generals, prompt declined", kMoveAside, "press 2", true, false, startDeclined,
         kPrepared},
    };
    for (const Row& row : rows) {
        LauncherRig rig;
        rig.elevation.canRestart = true;
        rig.elevation.restarts = row.promptTaken;
        rig.messages.answers = {row.yes};
        if (row.step != "start-up") rig.Run({"start-up"});
        rig.files.refusing.insert(row.refused);
        rig.journal.clear();
        rig.Run({row.step});
        const auto question = std::ranges::find(
            rig.journal, "question: " + rig.Refusal() + "Restart Kelvaro Mod as administrator?");
        ASSERT_NE(question, rig.journal.end()) << row.name;
        Journal after(question + 1, rig.journal.end());
        for (std::string& line : after) line = line.starts_with("start \"") ? "start" : line;
        EXPECT_EQ(after, row.after) << row.name;
        EXPECT_EQ(rig.messages.asked.size(), 1u) << row.name << ": asked once only";
        EXPECT_TRUE(rig.messages.shown.empty()) << row.name;
        EXPECT_EQ(rig.GameState(), row.state) << row.name;
    }
}

}  // namespace
}  // namespace kelvaro::testing
