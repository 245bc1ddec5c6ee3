#include <gtest/gtest.h>

#include <string>

#include "game_install.h"
#include "posix_file_system.h"

namespace kelvaro::testing {
namespace {

namespace fs = std::filesystem;

// Dot-names stand for hidden files and folders, as Wine shows them.
TEST(PosixFileSystem, LookupSortsWhatItFinds) {
    GameInstall install;
    install.MakePristineGame();
    fs::create_directories(install.Game(".Hidden folder"));
    GameInstall::WriteFile(install.Game(".hidden.big"), "x");
    struct Row {
        std::string path;
        Entry entry;
    } rows[] = {
        {"generals.exe", Entry::NormalFile},     {".hidden.big", Entry::Other},
        {".Hidden folder\\", Entry::Other},      {kIni, Entry::Other},
        {"missing.big", Entry::Missing},         {"generals.exe\\below a file", Entry::Missing},
        {std::string(300, 'n'), Entry::Unknown},
    };
    PosixFileSystem files;
    for (const Row& row : rows) {
        EXPECT_EQ(files.Lookup(install.GameFolder() + row.path), row.entry)
            << row.path.substr(0, 30);
    }
}

TEST(PosixFileSystem, RenameNeverReplacesAndCopyOverwrites) {
    GameInstall install;
    install.MakePristineGame();
    const std::string game = install.GameFolder();
    PosixFileSystem files;
    EXPECT_EQ(files.Rename(game + "generals.exe", game + kScript), Change::Failed);
    EXPECT_EQ(files.Rename(game + "Data\\Scripts\\", game + kIni), Change::Failed);
    EXPECT_EQ(files.Delete(game + kIni), Change::Failed);
    EXPECT_EQ(files.Copy(game + "missing", game + "copy"), Change::Failed);
    EXPECT_FALSE(fs::exists(install.Game("copy")));
    EXPECT_EQ(files.Copy(game + kIni, game + "generals.exe"), Change::Failed);
    EXPECT_EQ(GameInstall::ReadFile(install.Game("generals.exe")), "MZ stand-in");
    EXPECT_EQ(files.Copy(game + kScript, game + "generals.exe"), Change::Made);
    EXPECT_EQ(GameInstall::ReadFile(install.Game("generals.exe")), GameInstall::kGameScriptBytes);
    EXPECT_TRUE(fs::exists(install.Game(kIni + "GameData.ini")));
}

}  // namespace
}  // namespace kelvaro::testing
