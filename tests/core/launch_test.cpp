#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "launcher_rig.h"
#include "start_options.h"

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
// as administrator. Yes puts the folder back, starts a new launcher told of
// the tier pressed, and ends this one; the new one, whose changes Windows
// allows, comes up with that tier and goes on with its start. Windows'
// prompt declined, or the start failed (and told), the folder is made as it
// was and the launcher goes on as after No.
TEST(Launch, ARefusedChangeOffersARestartAsAdministrator) {
    // The answers: No; Yes, and Windows starts the new launcher; Yes, and the
    // player declines Windows' prompt; Yes, and the start fails.
    const std::string failed =
        "Unable to start Kelvaro Mod as administrator.\n\nThe file cannot be accessed by the "
        "system.";
    const std::optional<Restart> answers[] = {
        {}, Restart::Started, Restart::Declined, Restart::Failed};
    const struct {
        std::string step, refused, tier;  // where Windows refuses which change
        std::string states[4];            // the folder at the end, after each answer
    } rows[] = {{"start-up", kHideIni, "", {kPristine, kPrepared, kPristine, kPristine}},
                {"press 2",
                 kMoveAside,
                 " /start-tier:2",
                 {kPrepared, Substituted(2), kPrepared, kPrepared}}};
    for (const auto& row : rows)
        for (int a = 0; a < 4; ++a) {
            LauncherRig rig;
            rig.elevation.canRestart = true;
            rig.elevation.outcome = answers[a].value_or(Restart::Started);
            rig.messages.answers = {answers[a].has_value()};
            if (row.step != "start-up") rig.Run({"start-up"});
            rig.files.refusing.insert(row.refused);
            rig.Run({row.step});
            const std::string what = row.step + ", answer " + std::to_string(a);
            const std::string restart = "/restarted-as-administrator" + row.tier;
            EXPECT_EQ(rig.elevation.commandLines, a == 0 ? Journal{} : Journal{restart}) << what;
            const std::string told = rig.messages.shown.empty() ? "" : rig.messages.shown[0].text;
            EXPECT_EQ(told, a == 3 ? failed : "") << what;
            EXPECT_EQ(rig.view.ended, a == 1) << what;
            if (a == 1) {
                // The folder as it was before this launcher; the new one, whose
                // changes Windows allows, goes on with the tier and never asks.
                EXPECT_EQ(rig.GameTree(), rig.pristine) << what;
                rig.files.refusing.clear();
                const StartOptions options = ReadStartOptions(restart);
                rig.Run({"start-up"});
                if (options.tier != 0) rig.frm->PressStartFor(options.tier);
                EXPECT_EQ(rig.view.checked, row.tier.empty() ? 10 : 2) << what;
            }
            EXPECT_EQ(rig.messages.asked.size(), 1u) << what << ": asked once only";
            EXPECT_EQ(rig.processes.started.size(), row.tier.empty() ? 0u : 1u) << what;
            EXPECT_EQ(rig.GameState(), row.states[a]) << what;
        }
}

// What a launcher is told on its command line, as any outside input: only an
// option it knows, with one of the ten tiers exactly as its Tag is written.
TEST(Launch, TheCommandLineIsReadAsOutsideInput) {
    const std::pair<const char*, std::pair<bool, int>> rows[] = {
        {"/restarted-as-administrator /start-tier:2", {true, 2}},
        {"\t/start-tier:10  /restarted-as-administrator ", {true, 10}},
        {"/start-tier:1", {false, 1}},
        {"", {false, 0}},
        {"/start-tier:0", {false, 0}},
        {"/start-tier:11", {false, 0}},
        {"/start-tier:02", {false, 0}},
        {"/start-tier:2x", {false, 0}},
        {"/start-tier:-2", {false, 0}},
        {"/start-tier:", {false, 0}},
        {"/START-TIER:2 /Restarted-As-Administrator \"/restarted-as-administrator\"", {false, 0}},
        {"/restarted-as-administrator2 /start-tier:3/start-tier:4", {false, 0}},
    };
    for (const auto& [commandLine, expected] : rows) {
        const StartOptions options = ReadStartOptions(commandLine);
        EXPECT_EQ(std::make_pair(options.restarted, options.tier), expected) << commandLine;
    }
}

}  // namespace
}  // namespace kelvaro::testing
