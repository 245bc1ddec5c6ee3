// The real "Kelvaro Mod.exe" driven from outside in a sandboxed game install,
// with a stand-in game that logs how it was started and what it found.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fnv.h"
#include "sandbox_run.h"
#include "texts.h"

namespace kelvaro::e2e {
namespace {

const std::string kTier10Text = "Normal Generals, no build or train restrictions.";
const std::string kTier2Text =
    "This is same as Tech level 1 but now, infantry can do what they usually can do like "
    "Capturing Buildings, plus radar is available.";
const std::string kTier3Text =
    "Everything from Tech level 2 plus the basic defense buildings are available.";
const std::string kGameProgram = "C:\\KelvaroSandbox\\Generals\\generals.exe";

class LauncherRun : public SandboxRun {
  protected:
    void Start(const SandboxSetup& setup = {}, const std::string& folder = Sandbox::WorkFolder()) {
        Build(setup);
        Relaunch(Rights::Own, folder);
    }
    MainWindow Main() const { return {launcher_->WaitMainWindow()}; }

    void SelectTier(const MainWindow& main, int tier, const std::string& description) const {
        Click(main.Tech(tier));
        WaitFor("the description of tier " + std::to_string(tier),
                [&] { return main.Description() == description; });
    }
    // Start Generals brings `text` in a critical box, and no game starts.
    void ExpectStartRefused(const MainWindow& main, const std::string& text) const {
        Click(main.StartButton());
        ExpectTold(text);
        Settle(main.window);
        EXPECT_EQ(launcher_->ProgramsStarted(), 0u);
    }
    void QuitAndExpectPristine(const MainWindow& main) const {
        Quit(main);
        EXPECT_EQ(Tree(), Pristine());
    }

    std::string ArchiveMessage(int tier) const {
        return sandbox_->UserDataFolder() + "Kelvaro" + std::to_string(tier) +
               ".big could not be found, make sure the Kelvaro files are in the right folder.";
    }
};

TEST_F(LauncherRun, TypicalRunPlaysTier2AndQuitRestoresThePristineFolder) {
    Start();
    MainWindow main = Main();
    EXPECT_EQ(main.SelectedTier(), 10);
    EXPECT_EQ(main.Description(), kTier10Text);
    EXPECT_EQ(Tree(), Hidden(Pristine()));
    EXPECT_EQ(launcher_->FindMessageBox(), nullptr);

    SelectTier(main, 2, kTier2Text);
    EXPECT_EQ(main.SelectedTier(), 2);
    Click(main.StartButton());
    GameStart game = Played();
    EXPECT_EQ(game.commandLine, ModCommand(2));
    EXPECT_FALSE(game.iniFolder);
    EXPECT_TRUE(game.hiddenIniFolder);
    EXPECT_EQ(game.script, Fingerprint(Sandbox::TierScriptBytes(2)));
    EXPECT_EQ(Tree(), Substituted(Pristine(), 2));
    EXPECT_TRUE(launcher_->Running());

    QuitAndExpectPristine(main);
}

TEST_F(LauncherRun, MissingRegistryEntryAsksForTheGameAndRefusesWrongPaths) {
    Start({.registryEntry = false});
    MessageBoxSeen notFound = launcher_->WaitMessageBox();
    EXPECT_EQ(launcher_->FindWindowNamed("", kPathCaption), nullptr) << "the message comes first";
    launcher_->Answer(notFound);
    EXPECT_EQ(notFound.text,
              "Kelvaro Mod was unable to locate the C&C Generals directory, make sure Generals "
              "is installed correctly!");
    EXPECT_EQ(notFound.icon, BoxIcon::Critical);
    PathDialog dialog{launcher_->WaitPathDialog()};
    EXPECT_EQ(launcher_->FindWindowNamed("", kMainCaption), nullptr);

    const std::string refusedPaths[] = {"C:\\KelvaroSandbox\\Generals\\Generals.exe",
                                        kGameProgram + " ", "enerals.exe", ""};
    for (const std::string& refused : refusedPaths)
        Row("refused '" + refused + "'", [&] {
            TypeText(dialog.Text1(), refused);
            Click(dialog.OkButton());
            ExpectTold("Wrong path selected! Try to locate generals.exe");
            EXPECT_TRUE(IsWindowVisible(dialog.window));
            EXPECT_EQ(WindowText(dialog.Text1()), refused);
        });
    TypeText(dialog.Text1(), kGameProgram);
    Click(dialog.OkButton());
    MainWindow main = Main();
    EXPECT_FALSE(IsWindow(dialog.window));
    EXPECT_EQ(main.SelectedTier(), 10);
    EXPECT_EQ(Tree(), Hidden(Pristine())) << "the chosen folder is the game folder";
    QuitAndExpectPristine(main);
}

// Started from the game's folder, where every game path leads while the game
// folder is unknown: a start-up that went on past the dialog would hide the
// INI folder there.
TEST_F(LauncherRun, QuitInTheDialogEndsTheLauncherWithoutItsWindow) {
    const char* rows[] = {"Quit", "a quit message in the dialog",
                          "a quit message in the message box before it"};
    for (int row = 0; row < 3; ++row)
        Row(rows[row], [&] {
            Start({.registryEntry = false}, Sandbox::GameFolder());
            MessageBoxSeen notFound = launcher_->WaitMessageBox();
            if (row == 2) PostQuit(notFound.window);
            if (row < 2) {
                launcher_->Answer(notFound);
                PathDialog dialog{launcher_->WaitPathDialog()};
                row == 0 ? Click(dialog.QuitButton()) : PostQuit(dialog.window);
            }
            launcher_->WaitForExit(kMainCaption);
            EXPECT_EQ(Tree(), Pristine());
        });
}

TEST_F(LauncherRun, ClosingTheDialogGoesOnWithoutAGameFolder) {
    Start({.registryEntry = false});
    Answer();
    PostSystemClose(launcher_->WaitPathDialog());
    MainWindow main = Main();
    EXPECT_EQ(main.Description(), kTier10Text);
    ExpectStartRefused(main, kGameMissing);
    QuitAndExpectPristine(main);
}

TEST_F(LauncherRun, MissingArchiveIsReportedAndBlocksTheStartUntilTier10) {
    Start({.archives = {1, 2, 4, 5, 6, 7, 8, 9}});
    MainWindow main = Main();
    Click(main.Tech(3));
    MessageBoxSeen missing = launcher_->WaitMessageBox();
    EXPECT_EQ(missing.text, ArchiveMessage(3));
    EXPECT_EQ(missing.icon, BoxIcon::Critical);
    EXPECT_EQ(main.Description(), kTier10Text) << "the message comes before the description";
    launcher_->Answer(missing);
    WaitFor("the tier-3 description", [&] { return main.Description() == kTier3Text; });
    EXPECT_EQ(main.SelectedTier(), 3);

    ExpectStartRefused(main, ArchiveMessage(3));
    EXPECT_EQ(Tree(), Hidden(Pristine()));

    SelectTier(main, 10, kTier10Text);
    Click(main.StartButton());
    EXPECT_EQ(Played().commandLine, "\"" + kGameProgram + "\"");
    QuitAndExpectPristine(main);
}

TEST_F(LauncherRun, TierScriptsAreSubstitutedForTiers1To3Only) {
    struct Case {
        const char* name;
        std::vector<int> starts;  // tiers started, in order
        int scriptInPlace;        // 0: the game's own
    };
    const Case rows[] = {
        {"tier 5 starts without substitution", {5}, 0},
        {"tier 2 twice: two games, one backup", {2, 2}, 2},
        {"tier 2 then 3: the tier-3 copy, one backup", {2, 3}, 3},
    };
    for (const Case& row : rows)
        Row(row.name, [&] {
            Start();
            MainWindow main = Main();
            for (size_t i = 0; i < row.starts.size(); ++i) {
                int tier = row.starts[i];
                if (main.SelectedTier() != tier) {
                    Click(main.Tech(tier));
                    WaitFor("tier selected", [&] { return main.SelectedTier() == tier; });
                }
                Click(main.StartButton());
                EXPECT_EQ(Played(static_cast<unsigned>(i + 1)).commandLine, ModCommand(tier));
            }
            EXPECT_EQ(Tree(), row.scriptInPlace ? Substituted(Pristine(), row.scriptInPlace)
                                                : Hidden(Pristine()));
            QuitAndExpectPristine(main);
        });
}

TEST_F(LauncherRun, MissingTierScriptWarnsAndStartsTheGameUntouched) {
    Start({.tierScripts = {1, 2}});
    MainWindow main = Main();
    SelectTier(main, 3, kTier3Text);
    Click(main.StartButton());
    MessageBoxSeen warning = launcher_->WaitMessageBox();
    EXPECT_EQ(warning.text, sandbox_->UserDataFolder() +
                                "Kelvaro Mod\\SkirmishScripts3.scb not found! AI script file not "
                                "loaded!");
    EXPECT_EQ(warning.icon, BoxIcon::Exclamation);
    EXPECT_EQ(launcher_->ProgramsStarted(), 0u) << "the game starts after the warning";
    launcher_->Answer(warning);
    GameStart game = Played();
    EXPECT_EQ(game.commandLine, ModCommand(3));
    EXPECT_EQ(game.script, Fingerprint(Sandbox::GameScriptBytes()));
    EXPECT_EQ(Tree(), Hidden(Pristine()));
    QuitAndExpectPristine(main);
}

TEST_F(LauncherRun, KilledWhileSubstitutedIsRepairedByTheNextRun) {
    Start();
    MainWindow main = Main();
    SelectTier(main, 2, kTier2Text);
    Click(main.StartButton());
    Played();
    launcher_->Kill();
    EXPECT_EQ(Tree(), Substituted(Pristine(), 2)) << "a killed run leaves the folder as it was";

    Relaunch();
    MainWindow next = Main();
    EXPECT_EQ(Tree(), Hidden(Pristine())) << "start-up brings the game's own script back";
    QuitAndExpectPristine(next);
}

TEST_F(LauncherRun, EveryWayOfClosingRestoresTheFolder) {
    struct Case {
        const char* name;
        void (*close)(const Launcher&, HWND);
        bool ends;  // a log-off leaves ending the process to the system
    };
    const Case rows[] = {
        {"close box", [](const Launcher&, HWND window) { PostSystemClose(window); }, true},
        {"WM_CLOSE", [](const Launcher&, HWND window) { PostClose(window); }, true},
        {"WM_QUIT", [](const Launcher&, HWND window) { PostQuit(window); }, true},
        {"log-off", [](const Launcher& launcher, HWND window) { launcher.EndSession(window); },
         false},
    };
    for (const Case& row : rows)
        Row(row.name, [&] {
            Start();
            MainWindow main = Main();
            SelectTier(main, 1,
                       "Tech level 1 allows you to play with basic infantry only, no "
                       "upgrades and special infantry abilities like Building Capture are "
                       "available.");
            Click(main.StartButton());
            Played();
            // The folder is read once the exit sequence is over: reading a file
            // while the launcher deletes it makes the delete fail.
            row.close(*launcher_, main.window);
            if (row.ends) launcher_->WaitForExit();
            EXPECT_EQ(Tree(), Pristine());
        });
}

TEST_F(LauncherRun, VisitWebsiteHandsTheProjectPageToTheShellAndChangesNothing) {
    Start();
    WebHandler handler(KELVARO_URL_RECORDER, Sandbox::Root() + "opened.log");
    MainWindow main = Main();
    SelectTier(main, 2, kTier2Text);
    MouseClick(main.Link());
    WaitFor("the shell to open an address", [&] { return !handler.Opened().empty(); });
    launcher_->WaitForPrograms();
    EXPECT_EQ(handler.Opened(), std::vector<std::string>{std::string(texts::kWebPage)});
    EXPECT_EQ(launcher_->FindMessageBox(), nullptr);
    EXPECT_EQ(main.SelectedTier(), 2);
    EXPECT_EQ(main.Description(), kTier2Text);
    EXPECT_EQ(Tree(), Hidden(Pristine()));
    QuitAndExpectPristine(main);
}

TEST_F(LauncherRun, MissingGameProgramIsReportedAndNothingIsTouched) {
    Start({.gameProgram = false});
    MainWindow main = Main();
    SelectTier(main, 2, kTier2Text);
    ExpectStartRefused(main, kGameMissing);
    EXPECT_EQ(Tree(), Hidden(Pristine()));
    QuitAndExpectPristine(main);
}

}  // namespace
}  // namespace kelvaro::e2e
