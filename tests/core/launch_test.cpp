#include <gtest/gtest.h>

#include <optional>

#include "launcher_rig.h"
#include "texts.h"

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
// (the game under Program Files, say): the player is asked whether to let
// their account change the game's Data folder. After a grant the same
// launcher makes the change and goes on, and the next start asks nothing; No,
// a declined prompt or a failed grant go on without it, and the next start
// asks again. A change still refused after a grant, and a refusal to a
// launcher with every right, are told once, never asked.
TEST(Launch, ARefusedChangeOffersAGrantOnTheDataFolder) {
    using texts::kGoingOnUnchanged;
    enum Answer { No, Granted, Declined, GrantFailed, StillRefused, EveryRight };
    const std::string failed =
        std::string(texts::kGrantFailed) + "\n\nThe file cannot be accessed by the system.";
    const struct {
        std::string step, refused;
        std::string states[2];  // the folder without the change, and with it
    } rows[] = {{"start-up", kHideIni, {kPristine, kPrepared}},
                {"press 2", kMoveAside, {kPrepared, Substituted(2)}}};
    for (const auto& row : rows)
        for (Answer answer : {No, Granted, Declined, GrantFailed, StillRefused, EveryRight}) {
            LauncherRig rig;
            rig.elevation.hasEveryRight = answer == EveryRight;
            rig.elevation.outcome = answer == Declined      ? Grant::Declined
                                    : answer == GrantFailed ? Grant::Failed
                                                            : Grant::Made;
            if (answer != StillRefused) rig.elevation.onGrant = [&] { rig.files.refusing.clear(); };
            rig.messages.answers = {answer != No};
            if (row.step != "start-up") rig.Run({"start-up"});
            rig.files.refusing.insert(row.refused);
            rig.Run({row.step});
            const std::string what = row.step + ", answer " + std::to_string(answer);
            const bool asked = answer != EveryRight, granted = answer == Granted;
            EXPECT_EQ(rig.messages.asked.size(), asked ? 1u : 0u) << what;
            EXPECT_EQ(rig.elevation.granted,
                      asked && answer != No ? Journal{rig.install.GameFolder()} : Journal{})
                << what;
            const std::string told =
                answer == GrantFailed ? failed
                : answer == StillRefused
                    ? rig.Refusal() + std::string(texts::kStillRefused).substr(2) +
                          std::string(kGoingOnUnchanged)
                : answer == EveryRight
                    ? rig.Refusal() + std::string(texts::kRefusedToAdministrators).substr(2) +
                          std::string(kGoingOnUnchanged)
                    : "";
            EXPECT_EQ(rig.messages.shown.empty() ? "" : rig.messages.shown[0].text, told) << what;
            EXPECT_LE(rig.messages.shown.size(), 1u) << what;
            EXPECT_FALSE(rig.view.ended) << what << ": one launcher throughout";
            EXPECT_EQ(rig.processes.started.size(), row.step == "start-up" ? 0u : 1u) << what;
            EXPECT_EQ(rig.GameState(), row.states[granted]) << what;
            // Nothing is stored: the same change asks again unless the grant
            // lifted the refusal.
            rig.Run(row.step == "start-up" ? std::vector<std::string>{"quit", "start-up"}
                                           : std::vector{row.step});
            EXPECT_EQ(rig.messages.asked.size(), asked ? (granted ? 1u : 2u) : 0u) << what;
        }
}

}  // namespace
}  // namespace kelvaro::testing
