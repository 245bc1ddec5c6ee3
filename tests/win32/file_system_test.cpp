// WinFileSystem on real folders: what a look-up counts as a normal file, and
// renames, deletions and copies that fail without changing anything, told
// apart from those that Windows refuses for want of rights.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "game_install.h"
#include "immutable.h"
#include "snapshot.h"
#include "win_file_system.h"

namespace kelvaro {
namespace {

namespace fs = std::filesystem;
using testing::GameInstall;
using testing::Immutable;
using testing::kBackup;
using testing::kHiddenIni;
using testing::kIni;
using testing::kScript;
using testing::Snapshot;

void SetAttributes(const fs::path& path, DWORD attributes) {
    ASSERT_TRUE(SetFileAttributesA(path.string().c_str(), attributes))
        << path << " error " << GetLastError();
}

TEST(WinFileSystem, CountsOnlyVisibleFilesAsNormalFiles) {
    GameInstall game;
    game.MakePristineGame();
    for (auto [name, attributes] : {std::pair{"hidden.big", FILE_ATTRIBUTE_HIDDEN},
                                    {"system.big", FILE_ATTRIBUTE_SYSTEM},
                                    {"readonly.big", FILE_ATTRIBUTE_READONLY}}) {
        GameInstall::WriteFile(game.Game(name), "x");
        SetAttributes(game.Game(name), attributes);
    }
    fs::create_directories(game.Game("Kelvaro3.big"));

    struct Row {
        const char* relative;
        Entry entry;
    } rows[] = {
        {"generals.exe", Entry::NormalFile},
        {"readonly.big", Entry::NormalFile},
        {"hidden.big", Entry::Other},
        {"system.big", Entry::Other},
        {"Kelvaro3.big", Entry::Other},
        {"Data\\INI\\", Entry::Other},
        {"Data\\INI", Entry::Other},
        {"missing.big", Entry::Missing},
        {"No Such Folder\\generals.exe", Entry::Missing},
        {"generals.exe\\inside", Entry::Missing},
        {"bad<name>.big", Entry::Missing},
    };
    WinFileSystem files;
    for (const Row& row : rows) {
        EXPECT_EQ(files.Lookup(game.GameFolder() + row.relative), row.entry) << row.relative;
    }
    SetAttributes(game.Game("readonly.big"), FILE_ATTRIBUTE_NORMAL);
}

TEST(WinFileSystem, RenameNeverReplacesAndChangesNothingWhenItFails) {
    GameInstall game;
    game.MakePristineGame();
    GameInstall::WriteFile(game.Game(kBackup), "old backup");
    fs::create_directories(game.Game("Data\\Taken\\Inside"));
    struct Row {
        std::string from, to;
        Change renamed;
    } rows[] = {
        {kScript, kBackup, Change::Failed},
        {kScript, "Data\\Taken", Change::Failed},
        {kIni, "Data\\Taken\\", Change::Failed},
        {"Data\\Nothing\\", "Data\\Other\\", Change::Failed},
        {kIni, kHiddenIni, Change::Made},
        {kScript, "Data\\Scripts\\SkirmishScripts.bak", Change::Made},
    };
    WinFileSystem files;
    for (const Row& row : rows) {
        const auto before = Snapshot(game.Root());
        const std::string what = row.from + " to " + row.to;
        EXPECT_EQ(files.Rename(game.GameFolder() + row.from, game.GameFolder() + row.to),
                  row.renamed)
            << what;
        if (row.renamed != Change::Made) {
            EXPECT_EQ(Snapshot(game.Root()), before) << what;
        }
    }
    EXPECT_FALSE(fs::exists(game.Game("Data\\INI")));
    EXPECT_EQ(GameInstall::ReadFile(game.Game(kHiddenIni + "Weapon.ini")), "Weapon\r\nEnd\r\n");
    EXPECT_EQ(GameInstall::ReadFile(game.Game("Data\\Scripts\\SkirmishScripts.bak")),
              GameInstall::kGameScriptBytes);
}

TEST(WinFileSystem, DeletesOneExistingWritableFile) {
    GameInstall game;
    game.MakePristineGame();
    GameInstall::WriteFile(game.Game("locked.scb"), "locked");
    SetAttributes(game.Game("locked.scb"), FILE_ATTRIBUTE_READONLY);

    WinFileSystem files;
    const std::string script = game.GameFolder() + kScript;
    EXPECT_EQ(files.Delete(script), Change::Made);
    EXPECT_FALSE(fs::exists(game.Game(kScript)));
    EXPECT_EQ(files.Delete(script), Change::Failed);
    // Access denied, but to every user alike: no rights would help.
    EXPECT_EQ(files.Delete(game.GameFolder() + "locked.scb"), Change::Failed);
    EXPECT_TRUE(fs::exists(game.Game("locked.scb")));
    EXPECT_EQ(files.Delete(game.GameFolder() + kIni), Change::Failed);
    EXPECT_TRUE(fs::exists(game.Game(kIni + "Weapon.ini")));
    SetAttributes(game.Game("locked.scb"), FILE_ATTRIBUTE_NORMAL);
}

TEST(WinFileSystem, CopyOverwritesWithTheSourceBytesOnly) {
    GameInstall game;
    game.MakePristineGame();
    game.AddTierScript(2);
    const std::string source = game.UserDataFolder() + "Kelvaro Mod\\SkirmishScripts2.scb";
    const std::string gameScript = game.GameFolder() + kScript;

    WinFileSystem files;
    EXPECT_EQ(files.Copy(source, gameScript), Change::Made);
    EXPECT_EQ(GameInstall::ReadFile(gameScript), GameInstall::TierScriptBytes(2));

    // A read-only tier script must not make the game's copy undeletable.
    SetAttributes(source, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(files.Copy(source, gameScript), Change::Made);
    EXPECT_EQ(GetFileAttributesA(gameScript.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(files.Delete(gameScript), Change::Made);
    SetAttributes(source, FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(files.Copy(game.UserDataFolder() + "missing.scb", game.GameFolder() + "generals.exe"),
              Change::Failed);
    EXPECT_EQ(GameInstall::ReadFile(game.Game("generals.exe")), "MZ stand-in");
    EXPECT_EQ(files.Copy(source, game.GameFolder() + "No Such Folder\\x.scb"), Change::Failed);
}

// In a folder that Windows protects every change is refused for want of
// rights, the expected failures there stay failures (a copy over a file that
// no user may write over among them), and nothing changes. (Wine deletes a
// file when its last handle closes and reports success before, so a deletion
// cannot be seen refused here.)
TEST(WinFileSystem, ChangesToAProtectedFolderAreRefused) {
    GameInstall game;
    game.MakePristineGame();
    game.AddTierScript(2);
    const std::string folder = game.GameFolder(), scripts = folder + "Data\\Scripts\\";
    const std::pair<const char*, DWORD> deniedToAll[] = {{"ReadOnly.scb", FILE_ATTRIBUTE_READONLY},
                                                         {"Hidden.scb", FILE_ATTRIBUTE_HIDDEN},
                                                         {"System.scb", FILE_ATTRIBUTE_SYSTEM}};
    for (const auto& [name, attribute] : deniedToAll) {
        GameInstall::WriteFile(game.Game("Data\\Scripts\\" + std::string(name)), "x");
        SetAttributes(game.Game("Data\\Scripts\\" + std::string(name)), attribute);
    }
    // Each refused to every user, and by Linux to root, whom Wine lets write
    // over read-only, hidden and system files.
    std::optional<Immutable> locked;
    locked.emplace(std::vector{folder + "Data", scripts, folder + kScript, scripts + "ReadOnly.scb",
                               scripts + "Hidden.scb", scripts + "System.scb"});
    if (!locked->Failure().empty()) GTEST_SKIP() << locked->Failure();
    const auto before = Snapshot(game.Root());
    const std::string tierScript = game.UserDataFolder() + "Kelvaro Mod\\SkirmishScripts2.scb";
    WinFileSystem files;
    const struct {
        const char* what;
        Change change, outcome;
    } rows[] = {
        {"INI folder hidden", files.Rename(folder + kIni, folder + kHiddenIni), Change::Refused},
        {"script moved aside", files.Rename(folder + kScript, folder + kBackup), Change::Refused},
        {"script copied over", files.Copy(tierScript, folder + kScript), Change::Refused},
        {"copy made beside it", files.Copy(tierScript, scripts + "New.scb"), Change::Refused},
        {"nothing to rename", files.Rename(folder + "Data\\None\\", folder + "Data\\Any\\"),
         Change::Failed},
        {"nothing to delete", files.Delete(scripts + "None.scb"), Change::Failed},
        {"copy over a read-only file", files.Copy(tierScript, scripts + "ReadOnly.scb"),
         Change::Failed},
        {"copy over a hidden file", files.Copy(tierScript, scripts + "Hidden.scb"), Change::Failed},
        {"copy over a system file", files.Copy(tierScript, scripts + "System.scb"), Change::Failed},
        // What Wine cannot make: Windows denies a folder's rename to every
        // user while a file inside is open, and write-protected media to all;
        // a privilege is what only an administrator holds.
        {"a file open inside the folder", FailureOf(ERROR_ACCESS_DENIED, false), Change::Failed},
        {"write-protected media", FailureOf(ERROR_WRITE_PROTECT, true), Change::Failed},
        {"a privilege not held", FailureOf(ERROR_PRIVILEGE_NOT_HELD, false), Change::Refused},
    };
    for (const auto& row : rows) EXPECT_EQ(row.change, row.outcome) << row.what;
    EXPECT_EQ(Snapshot(game.Root()), before);
    // The sources alone locked, in folders that may change: a rename that
    // Windows denies there is not for want of the rights to rename.
    locked.emplace(std::vector{folder + kScript, folder + kIni});
    EXPECT_EQ(files.Rename(folder + kIni, folder + kHiddenIni), Change::Failed);
    EXPECT_EQ(files.Rename(folder + kScript, folder + kBackup), Change::Failed);
    EXPECT_EQ(Snapshot(game.Root()), before);
    // An open refused for a deletion pending, not for the opener's rights
    // (Wine deletes at once, so only Windows' answer can be given).
    const struct {
        DWORD error;
        LONG status;
        bool denied;
    } opens[] = {{ERROR_ACCESS_DENIED, static_cast<LONG>(0xC0000022), true},
                 {ERROR_ACCESS_DENIED, kStatusDeletePending, false},
                 {ERROR_SHARING_VIOLATION, static_cast<LONG>(0xC0000043), false}};
    for (const auto& open : opens)
        EXPECT_EQ(DeniedForWantOfRights(open.error, open.status), open.denied) << open.status;
    locked.reset();
    SetAttributes(game.Game("Data\\Scripts\\ReadOnly.scb"), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace kelvaro
