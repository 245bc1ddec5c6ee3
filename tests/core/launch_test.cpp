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
    const std::string restarted = "/restarted-as-administrator";
    const std::string failed =
        "Unable to start Kelvaro Mod as administrator.\n\n"
        "The file cannot be accessed by the system.";
    struct Row {
        const char* name;
        std::string refused, step;
        bool yes;
        Restart outcome;
        std::string restart;  // the new launcher's command line; none when empty
        std::string shown;    // a message after the question
        int games;            // started, by either launcher
        std::string state;
    } rows[] = {
        {"start-up, No", kHideIni, "start-up", false, {}, "", "", 0, kPristine},
        {"start-up, Yes", kHideIni, "start-up", true, Restart::Started, restarted, "", 0,
         kPrepared},
        {"start-up, prompt declined", kHideIni, "start-up", true, Restart::Declined, restarted, "",
         0, kPristine},
        {"start-up, start failed", kHideIni, "start-up", true, Restart::Failed, restarted, failed,
         0, kPristine},
        {"Start Generals, No", kMoveAside, "press 2", false, {}, "", "", 1, kPrepared},
        {"Start Generals, Yes", kMoveAside, "press 2", true, Restart::Started,
         restarted + " /start-tier:2", "", 1, Substituted(2)},
        {"Start Generals, prompt declined", kMoveAside, "press 2", true, Restart::Declined,
         restarted + " /start-tier:2", "", 1, kPrepared},
        {"Start Generals, start failed", kMoveAside, "press 2", true, Restart::Failed,
         restarted + " /start-tier:2", failed, 1, kPrepared},
    };
    for (const Row& row : rows) {
        LauncherRig rig;
        rig.elevation.canRestart = true;
        rig.elevation.outcome = row.outcome;
        rig.messages.answers = {row.yes};
        if (row.step != "start-up") rig.Run({"start-up"});
        rig.files.refusing.insert(row.refused);
        rig.Run({row.step});
        EXPECT_EQ(rig.messages.asked.size(), 1u) << row.name << ": asked once only";
        EXPECT_EQ(rig.elevation.commandLines,
                  (row.restart.empty() ? Journal{} : Journal{row.restart}))
            << row.name;
        EXPECT_EQ(rig.view.ended, row.outcome == Restart::Started && row.yes) << row.name;
        if (rig.view.ended) {
            // The folder as it was before this launcher; then the new one.
            EXPECT_EQ(rig.GameTree(), rig.pristine) << row.name;
            rig.files.refusing.clear();
            const StartOptions options = ReadStartOptions(row.restart);
            rig.Run({"start-up"});
            if (options.tier != 0) rig.frm->PressStartFor(options.tier);
            EXPECT_EQ(rig.view.checked, options.tier != 0 ? options.tier : 10) << row.name;
            EXPECT_EQ(rig.messages.asked.size(), 1u) << row.name << ": not asked again";
        }
        std::vector<std::string> shown;
        for (const ShownMessage& message : rig.messages.shown) shown.push_back(message.text);
        EXPECT_EQ(shown, (row.shown.empty() ? Journal{} : Journal{row.shown})) << row.name;
        EXPECT_EQ(rig.processes.started.size(), size_t(row.games)) << row.name;
        EXPECT_EQ(rig.GameState(), row.state) << row.name;
    }
}

// What a launcher is told on its command line, as any outside input: only an
// option it knows, with one of the ten tiers exactly as its Tag is written.
TEST(Launch, TheCommandLineIsReadAsOutsideInput) {
    const struct {
        const char* commandLine;
        bool restarted;
        int tier;
    } rows[] = {
        {"", false, 0},
        {"/restarted-as-administrator", true, 0},
        {"/restarted-as-administrator /start-tier:2", true, 2},
        {"\t/start-tier:10  /restarted-as-administrator ", true, 10},
        {"/start-tier:1", false, 1},
        {"/start-tier:0", false, 0},
        {"/start-tier:11", false, 0},
        {"/start-tier:02", false, 0},
        {"/start-tier:2x", false, 0},
        {"/start-tier:-2", false, 0},
        {"/start-tier:", false, 0},
        {"/START-TIER:2 /Restarted-As-Administrator", false, 0},
        {"/restarted-as-administrator2 /start-tier:3/start-tier:4", false, 0},
        {"\"/restarted-as-administrator\"", false, 0},
    };
    for (const auto& row : rows) {
        const StartOptions options = ReadStartOptions(row.commandLine);
        EXPECT_EQ(options.restarted, row.restarted) << '"' << row.commandLine << '"';
        EXPECT_EQ(options.tier, row.tier) << '"' << row.commandLine << '"';
    }
}

}  // namespace
}  // namespace kelvaro::testing
