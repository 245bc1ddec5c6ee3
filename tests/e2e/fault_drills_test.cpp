// Fault drills: the real "Kelvaro Mod.exe" against a game folder that is
// locked, read-only, half prepared, left over from a killed run or oddly
// named. Whatever the launcher manages or refuses, it must not crash, and the
// game's own AI script and INI folder must come through byte for byte.
//
// These run under Wine, and Wine's file semantics are not Windows' in places;
// each drill asserts what Wine really does and says where Windows would differ.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "fnv.h"
#include "immutable.h"
#include "sandbox_run.h"
#include "win_elevation.h"

namespace kelvaro::e2e {
namespace {

namespace fs = std::filesystem;

// Gives or takes FILE_ATTRIBUTE_READONLY to a folder and everything in it.
void SetReadOnly(const std::string& folder, bool readOnly) {
    const DWORD attributes = readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
    std::error_code missing;
    for (const auto& entry : fs::recursive_directory_iterator(NativePath(folder), missing))
        SetFileAttributesW(entry.path().c_str(), attributes);
    SetFileAttributesW(NativePath(folder).c_str(), attributes);
}

bool IsReadOnly(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// A file that the test process holds open, as a virus scanner or an editor would.
class HeldFile {
  public:
    HeldFile(const std::string& path, DWORD share)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {
        if (handle_ == INVALID_HANDLE_VALUE) {
            throw std::runtime_error("cannot hold " + path + " open, error " +
                                     std::to_string(GetLastError()));
        }
    }
    ~HeldFile() { CloseHandle(handle_); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // Share mode 0 keeps every other open out, the test's own included.
    std::string Bytes() const {
        std::string bytes(4096, '\0');
        OVERLAPPED fromStart = {};
        DWORD read = 0;
        ReadFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &read, &fromStart);
        bytes.resize(read);
        return bytes;
    }

  private:
    HANDLE handle_;
};

class FaultDrill : public SandboxRun {
  protected:
    void TearDown() override {
        launcher_.reset();
        protected_.reset();
        SetReadOnly(Sandbox::Root(), false);
        if (sandbox_) SetReadOnly(sandbox_->UserDataFolder(), false);
    }

    void Build(const SandboxSetup& setup = {}) {
        protected_.reset();
        SandboxRun::Build(setup);
    }
    std::string Game() const { return sandbox_->InstallFolder(); }

    void StartTier(const MainWindow& main, int tier) const {
        Click(main.Tech(tier));
        WaitFor("tier " + std::to_string(tier), [&] { return main.SelectedTier() == tier; });
        Click(main.StartButton());
    }
    // A fresh start-up and quit, nothing in between.
    void CleanRun(const FolderTree& pristine) {
        MainWindow main = Launch();
        EXPECT_EQ(Tree(), Hidden(pristine)) << "after a fresh start-up";
        Quit(main);
        EXPECT_EQ(Tree(), pristine) << "after a fresh quit";
    }

    std::optional<testing::Immutable> protected_;  // goes before the sandbox does
};

// Renaming or deleting a file open without FILE_SHARE_DELETE fails with a
// sharing violation on Windows and on Wine alike. A folder is another matter:
// Windows refuses to rename one with an open file inside, Wine renames it
// (the handle follows the file), so the INI row shows Wine's outcome.
TEST_F(FaultDrill, AFileHeldOpenByAnotherProgram) {
    struct Case {
        const char* name;
        std::string held;
        DWORD share;
        bool fromStartUp;  // held before the launcher starts, else just before Start
        bool substituted;  // Start tier 2 got the tier's script in place
    };
    const DWORD readWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
    const Case rows[] = {
        {"game script, share mode 0", kScript, 0, false, false},
        {"game script, shared for reading and writing", kScript, readWrite, false, false},
        {"game script, shared for deletion too", kScript, readWrite | FILE_SHARE_DELETE, false,
         true},
        {"an INI file, from before start-up", kIni + "GameData.ini", FILE_SHARE_READ, true, true},
    };
    for (const Case& row : rows)
        Row(row.name, [&] {
            Build();
            const FolderTree pristine = sandbox_->PristineTree();
            std::optional<HeldFile> held;
            if (row.fromStartUp) held.emplace(Game() + row.held, row.share);
            MainWindow main = Launch();
            if (!held) held.emplace(Game() + row.held, row.share);
            // Only a file held without FILE_SHARE_READ escapes GameTree; it never moves.
            auto seen = [&] {
                FolderTree tree = Tree();
                if (!(row.share & FILE_SHARE_READ)) tree[row.held] = Fingerprint(held->Bytes());
                return tree;
            };
            EXPECT_EQ(seen(), Hidden(pristine)) << "after start-up";

            StartTier(main, 2);
            GameStart game = Played();
            EXPECT_EQ(game.commandLine, ModCommand(2, Game()));
            EXPECT_EQ(seen(), row.substituted ? Substituted(pristine, 2) : Hidden(pristine));
            // The stand-in cannot open a script held with share mode 0 either.
            EXPECT_EQ(game.script, row.substituted ? Fingerprint(Sandbox::TierScriptBytes(2))
                                   : row.share & FILE_SHARE_READ
                                       ? Fingerprint(Sandbox::GameScriptBytes())
                                       : "missing");
            Quit(main);
            EXPECT_EQ(seen(), pristine) << "after quit, still held";
            held.reset();
            CleanRun(pristine);
        });
}

// Root ignores unix permissions, and Wine keeps no read-only attribute on a
// folder (it reads back as a plain folder), so this shows Wine's outcome with
// read-only files only and claims nothing for Windows' read-only folders.
// Renaming a read-only file is allowed on both; deleting one is not, and
// CopyFileA passes the read-only tier script's attribute on to its copy.
TEST_F(FaultDrill, AReadOnlyGameFolderAndTierScripts) {
    Build();
    const FolderTree pristine = sandbox_->PristineTree();
    SetReadOnly(Game(), true);
    SetReadOnly(sandbox_->UserDataFolder() + "Kelvaro Mod", true);
    MainWindow main = Launch();
    EXPECT_EQ(Tree(), Hidden(pristine)) << "after start-up";
    StartTier(main, 2);
    EXPECT_EQ(Played().script, Fingerprint(Sandbox::TierScriptBytes(2)));
    EXPECT_EQ(Tree(), Substituted(pristine, 2));
    EXPECT_FALSE(IsReadOnly(Game() + kScript)) << "a read-only copy could never be deleted again";
    Quit(main);
    EXPECT_EQ(Tree(), pristine) << "after quit";
    EXPECT_TRUE(IsReadOnly(Game() + kScript)) << "the game's own script keeps its attribute";
}

TEST_F(FaultDrill, BothINIFoldersAtStartUpStayAsTheyAre) {
    Build();
    CreateDirectoryA((Game() + kHiddenIni).c_str(), nullptr);
    WriteFileBytes(Game() + kHiddenIni + "GameData.ini", "GameData ; an older copy\r\nEnd\r\n");
    const FolderTree before = Tree();
    MainWindow main = Launch();
    EXPECT_EQ(Tree(), before) << "after start-up: the hidden name is taken";
    StartTier(main, 2);
    GameStart game = Played();
    EXPECT_TRUE(game.iniFolder && game.hiddenIniFolder);
    Quit(main);
    EXPECT_EQ(Tree(), before) << "after quit: the INI name is taken";
}

// A killed run leaves its state on disk; the next start-up repairs the script.
TEST_F(FaultDrill, LeftoversOfAnEarlierRun) {
    struct Case {
        const char* name;
        bool tierCopy;      // a tier-2 copy in the game script's place
        bool readOnlyCopy;  // ... that cannot be deleted
        bool hiddenIni;     // Data\INI\ left as Data\xINIx\ too
        bool repaired;      // start-up brings the game's own script back
        // What an older, virtualized launcher left in the player's VirtualStore
        // copy of Data\Scripts\: "tier and own" (both go), "other" bytes (stay).
        std::string stored;
    };
    const Case rows[] = {
        {"backup and tier copy, INI hidden: a killed run; in VirtualStore a tier's copy and the "
         "game's own",
         true, false, true, true, "tier and own"},
        {"backup alone: killed between rename and copy", false, false, false, true, ""},
        {"backup and a read-only tier copy: both stay; so does another script in VirtualStore",
         true, true, false, false, "other"},
    };
    // Wine virtualizes nothing: the drill writes where Windows would have.
    char local[MAX_PATH] = {};
    GetEnvironmentVariableA("LOCALAPPDATA", local, sizeof local);
    const std::string virtualStore = std::string(local) + "\\VirtualStore\\";
    for (const Case& row : rows)
        Row(row.name, [&] {
            Build();
            const FolderTree pristine = sandbox_->PristineTree();
            MoveFileA((Game() + kScript).c_str(), (Game() + kBackup).c_str());
            if (row.tierCopy) WriteFileBytes(Game() + kScript, Sandbox::TierScriptBytes(2));
            if (row.readOnlyCopy)
                SetFileAttributesA((Game() + kScript).c_str(), FILE_ATTRIBUTE_READONLY);
            if (row.hiddenIni) MoveFileA((Game() + kIni).c_str(), (Game() + kHiddenIni).c_str());
            const FolderTree leftover = Tree();
            const FolderTree expected = row.repaired ? pristine : leftover;
            const std::string store = virtualStore + Game().substr(3);
            const bool other = row.stored == "other";
            FolderTree kept;  // of the VirtualStore copy, after start-up
            if (!row.stored.empty()) {
                std::filesystem::create_directories(NativePath(store + "Data\\Scripts"));
                WriteFileBytes(store + kScript,
                               other ? "another mod's script" : Sandbox::TierScriptBytes(3));
                if (!other) WriteFileBytes(store + kBackup, Sandbox::GameScriptBytes());
                kept = testing::Snapshot(NativePath(store));
                if (!other) kept.erase(kScript), kept.erase(kBackup);
            }

            MainWindow main = Launch();
            EXPECT_EQ(Tree(), Hidden(expected)) << "after start-up";
            if (!row.stored.empty()) {
                EXPECT_EQ(testing::Snapshot(NativePath(store)), kept) << "VirtualStore";
            }
            RemoveTree(virtualStore);
            Quit(main);
            EXPECT_EQ(Tree(), expected) << "after quit";
            SetReadOnly(Game(), false);
            CleanRun(pristine);
        });
}

TEST_F(FaultDrill, NoScriptsFolderStartsTheGameAndCreatesNothing) {
    Build();
    RemoveTree(Game() + "Data\\Scripts");
    const FolderTree before = Tree();
    MainWindow main = Launch();
    EXPECT_EQ(Tree(), Hidden(before)) << "after start-up";
    StartTier(main, 2);
    GameStart game = Played();
    EXPECT_EQ(launcher_->FindMessageBox(), nullptr) << "the failed copy is silent";
    EXPECT_EQ(game.commandLine, ModCommand(2, Game()));
    EXPECT_EQ(game.script, "missing");
    EXPECT_EQ(Tree(), Hidden(before)) << "after Start";
    Quit(main);
    EXPECT_EQ(Tree(), before) << "after quit";
}

// The game where Windows protects it (under Program Files, with UAC): Linux
// refuses every change to Data\, Data\Scripts\ and the game's script, even
// to root, and Wine answers ERROR_ACCESS_DENIED as Windows answers a user
// without the rights. Under Wine every program runs as an elevated
// administrator, and one started with the limited half of its token runs as
// an administrator's ordinary session does on Windows. The player is asked,
// in front of the main window, at start-up and at "Start Generals". Yes
// starts the launcher's own exe as the grant helper, with the game folder and
// the player's SID; Wine's "runas" raises nothing and Wine keeps no DACL, so
// the drill lets the folders go at Yes, as the grant lets the player change
// them on Windows. The same launcher then makes the change and starts the
// game at the player's own rights; the next start asks nothing. A helper
// that refuses (no generals.exe in the folder it is told) is told, and the
// launcher goes on.
TEST_F(FaultDrill, AGameFolderThatWindowsProtects) {
    const struct {
        const char* name;
        Rights rights;
        int atStartUp, atStart;  // the answers at start-up and at "Start Generals"; 0: told
        bool refused = false;    // by the helper
    } rows[] = {
        {"an administrator's ordinary session, No twice", Rights::Limited, IDNO, IDNO},
        {"an administrator's ordinary session, Yes at start-up", Rights::Limited, IDYES, 0},
        {"an administrator's ordinary session, Yes for tier 2", Rights::Limited, IDNO, IDYES},
        {"an elevated administrator: told, not asked", Rights::Own, 0, 0},
        {"Yes at start-up, refused by the helper", Rights::Limited, IDYES, 0, true},
    };
    for (const auto& row : rows)
        Row(row.name, [&] {
            Build({.gameProgram = !row.refused});
            const FolderTree pristine = sandbox_->PristineTree();
            protected_.emplace(
                std::vector{Game() + "Data", Game() + "Data\\Scripts", Game() + kScript});
            if (!protected_->Failure().empty()) GTEST_SKIP() << protected_->Failure();
            const std::string refusal =
                "Kelvaro Mod cannot change the game folder\n\n" + Game() + "\n\n";
            const std::string question =
                refusal +
                "Windows lets only an administrator change it.\n\nLet your Windows account change "
                "the game's Data folder? Windows asks for an administrator's approval once, and "
                "Kelvaro Mod will not need to ask again. Only the permissions of the Data folder "
                "change, for your account alone; the game's programs stay protected.";
            const std::string notice = refusal +
                                       "Windows refuses it even to an administrator.\n\nKelvaro "
                                       "Mod goes on without changing it.";
            const MainWindow main = Launch(row.rights, Programs::Watched);
            auto answer = [&](int press) {
                MessageBoxSeen box = launcher_->WaitMessageBox();
                EXPECT_EQ(box.text, press ? question : notice);
                EXPECT_EQ(box.icon, BoxIcon::Exclamation);
                EXPECT_EQ(GetWindow(box.window, GW_OWNER), main.window) << "in front of the player";
                if (press == IDYES && !row.refused) protected_.reset();
                launcher_->Answer(box, press ? press : IDOK);
            };
            answer(row.atStartUp);
            if (row.refused) {
                ExpectTold(
                    "Kelvaro Mod could not let your Windows account change the game's Data "
                    "folder.\n\nFile not found.");
            } else if (row.atStartUp == IDYES) {
                // Hidden once the helper has ended; a folder read meanwhile would
                // keep the launcher from renaming it.
                WaitFor("the INI folder hidden", [&] {
                    return GetFileAttributesA((Game() + kHiddenIni).c_str()) !=
                           INVALID_FILE_ATTRIBUTES;
                });
                EXPECT_EQ(Tree(), Hidden(pristine));
            }
            StartTier(main, 2);
            if (row.refused) {
                ExpectTold(kGameMissing);
            } else {
                if (protected_) answer(row.atStart);
                WaitFor("a game start", [&] { return !sandbox_->GameStarts().empty(); });
                const GameStart game = sandbox_->GameStarts()[0];
                EXPECT_EQ(game.commandLine, ModCommand(2, Game()));
                EXPECT_EQ(game.iniFolder && !game.hiddenIniFolder, !!protected_) << "INI folder";
                EXPECT_EQ(game.script, Fingerprint(protected_ ? Sandbox::GameScriptBytes()
                                                              : Sandbox::TierScriptBytes(2)));
                EXPECT_EQ(game.token, row.rights == Rights::Limited ? "limited" : "full");
            }
            EXPECT_EQ(launcher_->FindMessageBox(), nullptr) << "asked or told once more";
            Quit(main);
            launcher_->WaitForPrograms();
            // One launcher from start to quit; besides the game, the helper
            // alone, told the game folder and the player's SID.
            std::vector<std::string> started;
            if (row.atStartUp == IDYES || row.atStart == IDYES)
                started.push_back("\"" + WindowsPath(KELVARO_LAUNCHER) +
                                  "\" /grant-data-folder \"" + Game() + "\\\" \"" +
                                  OwnAccountSid() + "\"");
            if (!row.refused) started.push_back(ModCommand(2, Game()));
            EXPECT_EQ(launcher_->CommandLines(), started);
            EXPECT_EQ(launcher_->ProgramsStarted(), started.size());
            EXPECT_EQ(Tree(), pristine);
            if (protected_) return;
            // The folder changes for the player now: the next start asks nothing.
            const MainWindow next = Launch(row.rights);
            Settle(next.window);
            EXPECT_EQ(Tree(), Hidden(pristine));
            EXPECT_EQ(launcher_->FindMessageBox(), nullptr);
            Quit(next);
        });
}

// A folder name of the system code page, as the registry's narrow value holds it.
std::string CodePageName() {
    for (const wchar_t* name :
         {L"G\u00e9n\u00e9rals", L"\u0413\u0435\u043d\u0435\u0440\u0430\u043b\u044b",
          L"\u5c06\u8ecd"}) {
        char bytes[64] = {};
        BOOL lossy = FALSE;
        int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, -1, bytes,
                                         sizeof bytes, nullptr, &lossy);
        if (length > 0 && !lossy) return bytes;
    }
    throw std::runtime_error("no test name for code page " + std::to_string(GetACP()));
}

std::set<std::string> RootEntries() {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(NativePath(Sandbox::Root())))
        names.insert(entry.path().filename().string());
    return names;
}

TEST_F(FaultDrill, InstallPathsWithSpacesCodePageLettersOrNoTrailingBackslash) {
    struct Case {
        std::string name;
        std::string gameFolder;
        std::string installPath;  // empty: the game folder
    };
    std::string general = Sandbox::GameFolder();
    const Case rows[] = {
        {"spaces", Sandbox::Root() + "EA Games\\Command and Conquer Generals\\", ""},
        {"code page " + std::to_string(GetACP()) + " letters",
         Sandbox::Root() + "EA Games\\" + CodePageName() + "\\", ""},
        {"no trailing backslash", general, general.substr(0, general.size() - 1)},
    };
    for (const Case& row : rows)
        Row(row.name, [&] {
            Build({.gameFolder = row.gameFolder, .installPath = row.installPath});
            const FolderTree pristine = sandbox_->PristineTree();
            const std::set<std::string> rootEntries = RootEntries();
            bool found = row.installPath.empty();
            MainWindow main = Launch();
            // Without the backslash start-up renames "...\GeneralsData\INI\", which is not there.
            EXPECT_EQ(Tree(), found ? Hidden(pristine) : pristine) << "after start-up";
            StartTier(main, 2);
            if (found) {
                GameStart game = Played();
                EXPECT_EQ(game.commandLine, ModCommand(2, Game()));
                EXPECT_EQ(Tree(), Substituted(pristine, 2));
            } else {
                ExpectTold(kGameMissing);
                Settle(main.window);
                EXPECT_EQ(launcher_->ProgramsStarted(), 0u);
                EXPECT_EQ(Tree(), pristine);
            }
            Quit(main);
            EXPECT_EQ(Tree(), pristine) << "after quit";
            EXPECT_EQ(RootEntries(), rootEntries) << "nothing made beside the game folder";
        });
}

}  // namespace
}  // namespace kelvaro::e2e
