// The grant of the game's Data folder: what the launcher's token allows, how
// the helper's start and its parameters are told, the helper's checks of its
// untrusted input, and the DACL it writes, built by Windows' SetEntriesInAclA.
#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>
#include <shellapi.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "game_install.h"
#include "grant_helper.h"
#include "immutable.h"
#include "launcher_rig.h"
#include "texts.h"
#include "win_elevation.h"

namespace kelvaro {
namespace {

namespace fs = std::filesystem;
using testing::GameInstall;
using testing::RunOnHost;
using testing::UnixName;

TEST(WinElevation, HasEveryRightOnlyWithAnAdministratorsFullRights) {
    const struct {
        const char* what;
        std::optional<bool> elevated;
        bool administrator, everyRight;
    } rows[] = {
        {"an administrator raised", true, true, true},
        {"an administrator's ordinary session", false, true, false},
        {"a standard account, or administrator protection", false, false, false},
        {"Windows XP, an administrator", std::nullopt, true, true},
        {"Windows XP, a limited account", std::nullopt, false, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(HasAdministratorsRights(row.elevated, row.administrator), row.everyRight)
            << row.what;
    // Under Wine every program runs as an administrator raised.
    EXPECT_TRUE(WinElevation().HasEveryRight());
}

TEST(WinElevation, OnlyThePlayersNoInWindowsPromptIsDeclined) {
    const std::pair<DWORD, Grant> rows[] = {
        {ERROR_CANCELLED, Grant::Declined},    {ERROR_FILE_NOT_FOUND, Grant::Failed},
        {ERROR_ACCESS_DENIED, Grant::Failed},  {740 /* ERROR_ELEVATION_REQUIRED */, Grant::Failed},
        {ERROR_NO_ASSOCIATION, Grant::Failed}, {ERROR_NOT_ENOUGH_MEMORY, Grant::Failed},
    };
    for (const auto& [error, grant] : rows)
        EXPECT_EQ(GrantOfStartFailure(error), grant) << "error " << error;
}

// Split again as Windows splits a command line, the parameters give the
// folder and the SID back exactly, a folder's closing backslash included.
TEST(WinElevation, PassesTheFolderAndTheSidAsTheyAre) {
    for (const std::string folder :
         {"C:\\Program Files\\EA Games\\Command & Conquer Generals\\", "D:\\Games\\Generals\\\\",
          "\\\\server\\games\\Generals\\", "C:\\Spiele\\\"Generals\"\\", "C:\\"}) {
        const std::string commandLine =
            "\"Kelvaro Mod.exe\" " + GrantParameters(folder, "S-1-5-21-1-2-3-1001");
        const std::wstring wide(commandLine.begin(), commandLine.end());
        int count = 0;
        LPWSTR* arguments = CommandLineToArgvW(wide.c_str(), &count);
        ASSERT_NE(arguments, nullptr) << folder;
        std::vector<std::string> split;
        for (int i = 1; i < count; ++i) {
            const std::wstring argument = arguments[i];
            split.emplace_back(argument.begin(), argument.end());
        }
        LocalFree(arguments);
        EXPECT_EQ(split, (std::vector<std::string>{std::string(texts::kGrantVerb), folder,
                                                   "S-1-5-21-1-2-3-1001"}))
            << commandLine;
    }
}

// Every refusal comes with its own code and before any change: the game's
// folder as it was. The grant itself (Wine accepts it, and keeps no DACL)
// ends the table.
TEST(GrantHelper, RefusesAnythingButAGameFolderWithItsDataFolderAndAUserAccount) {
    const std::string verb(texts::kGrantVerb), me = OwnAccountSid();
    ASSERT_FALSE(me.empty());
    const struct {
        const char* what;
        std::string setUp;                   // "no exe", "no Data", "Data linked" or ""
        std::vector<std::string> arguments;  // "<game>" stands for the game folder
        DWORD exitCode;
    } rows[] = {
        {"no arguments", "", {}, ERROR_BAD_ARGUMENTS},
        {"no SID", "", {"<game>"}, ERROR_BAD_ARGUMENTS},
        {"one argument more", "", {"<game>", me, me}, ERROR_BAD_ARGUMENTS},
        {"a relative folder", "", {"Generals\\", me}, ERROR_BAD_PATHNAME},
        {"no closing backslash", "", {"<game>Data", me}, ERROR_BAD_PATHNAME},
        {"a malformed SID", "", {"<game>", "S-1-5-21-x"}, ERROR_INVALID_SID},
        {"the Users group's SID", "", {"<game>", "S-1-5-32-545"}, ERROR_NO_SUCH_USER},
        {"Everyone's SID", "", {"<game>", "S-1-1-0"}, ERROR_NO_SUCH_USER},
        {"no generals.exe", "no exe", {"<game>", me}, ERROR_FILE_NOT_FOUND},
        {"the Data folder inside", "", {"<game>Data\\", me}, ERROR_FILE_NOT_FOUND},
        {"no Data folder", "no Data", {"<game>", me}, ERROR_PATH_NOT_FOUND},
        {"Data a link to another folder", "Data linked", {"<game>", me}, kReparsePointEncountered},
        {"the game's Data folder", "", {"<game>", me}, ERROR_SUCCESS},
    };
    for (const auto& row : rows) {
        GameInstall game;
        game.MakePristineGame();
        if (row.setUp == "no exe") fs::remove(game.Game("generals.exe"));
        if (row.setUp == "no Data" || row.setUp == "Data linked")
            fs::rename(game.Game("Data"), game.Root() / "elsewhere");
        // A host's symbolic link, which Wine shows as a reparse point (Wine
        // makes no junction, nor a link of its own).
        if (row.setUp == "Data linked") {
            ASSERT_EQ(RunOnHost("ln -s", {UnixName((game.Root() / "elsewhere").string()),
                                          UnixName(game.Game("Data").string())}),
                      "");
        }
        std::vector<std::string> arguments = {"Kelvaro Mod.exe", verb};
        for (std::string argument : row.arguments) {
            if (argument.starts_with("<game>")) argument = game.GameFolder() + argument.substr(6);
            arguments.push_back(argument);
        }
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        const testing::Tree before = testing::Snapshot(game.Root());
        EXPECT_EQ(RunGrantHelper(static_cast<int>(argv.size()), argv.data()), row.exitCode)
            << row.what;
        EXPECT_EQ(testing::Snapshot(game.Root()), before) << row.what;
        if (row.setUp == "Data linked") RemoveDirectoryW(game.Game("Data").c_str());
    }
}

// The entries of a DACL as SDDL shows them, in order.
std::vector<std::string> Entries(PACL acl) {
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    char* text = nullptr;
    ConvertSecurityDescriptorToStringSecurityDescriptorA(&descriptor, SDDL_REVISION_1,
                                                         DACL_SECURITY_INFORMATION, &text, nullptr);
    std::string sddl = text != nullptr ? text : "";
    LocalFree(text);
    std::vector<std::string> entries;
    for (size_t open = sddl.find('('); open != std::string::npos; open = sddl.find('(', open + 1))
        entries.push_back(sddl.substr(open, sddl.find(')', open) - open + 1));
    return entries;
}

// The DACL of Program Files' folders as Windows sets it up, and others: the
// grant adds one entry of its own for the player, allowing modify rights to
// the folder, its subfolders and files, keeps every entry there was, and a
// second grant adds nothing.
TEST(GrantHelper, AddsOneInheritableModifyEntryForTheAccountAndKeepsTheRest) {
    const std::string player = "S-1-5-21-1-2-3-1001";
    PSID sid = nullptr;
    ASSERT_TRUE(ConvertStringSidToSidA(player.c_str(), &sid));
    const std::string grant = "(A;OICI;0x1301bf;;;" + player + ")";
    const struct {
        const char* what;
        const char* dacl;  // SDDL
        bool adds;
    } rows[] = {
        {"Program Files' folders",
         "D:AI(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIID;0x1200a9;;;BU)"
         "(A;OICIIOID;GA;;;CO)",
         true},
        {"no entries at all", "D:", true},
        {"the player denied a file's deletion", "D:(D;OI;SD;;;S-1-5-21-1-2-3-1001)(A;OICI;FA;;;BA)",
         true},
        {"granted already", "D:(A;OICI;0x1301bf;;;S-1-5-21-1-2-3-1001)(A;OICI;FA;;;BA)", false},
        {"granted more already", "D:(A;OICI;FA;;;S-1-5-21-1-2-3-1001)", false},
        {"granted by inheritance only", "D:(A;OICIID;0x1301bf;;;S-1-5-21-1-2-3-1001)", true},
    };
    for (const auto& row : rows) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(row.dacl, SDDL_REVISION_1,
                                                                         &descriptor, nullptr))
            << row.what;
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = nullptr;
        GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
        PACL granted = nullptr;
        ASSERT_EQ(DaclWithGrant(dacl, sid, &granted), ERROR_SUCCESS) << row.what;
        ASSERT_EQ(granted != nullptr, row.adds) << row.what;
        if (granted != nullptr) {
            const std::vector<std::string> entries = Entries(granted);
            std::multiset<std::string> added(entries.begin(), entries.end());
            for (const std::string& kept : Entries(dacl)) {
                ASSERT_EQ(added.count(kept), 1u) << row.what << ": " << kept << " lost";
                added.erase(added.find(kept));
            }
            EXPECT_EQ(added, std::multiset<std::string>{grant}) << row.what;
            PACL again = nullptr;
            EXPECT_EQ(DaclWithGrant(granted, sid, &again), ERROR_SUCCESS) << row.what;
            EXPECT_EQ(again, nullptr) << row.what << ": a second grant added something";
            LocalFree(again);
        }
        LocalFree(granted);
        LocalFree(descriptor);
    }
    PACL granted = nullptr;
    EXPECT_EQ(DaclWithGrant(nullptr, sid, &granted), ERROR_SUCCESS);
    EXPECT_EQ(granted, nullptr) << "a null DACL allows everyone everything already";
    LocalFree(sid);
}

}  // namespace
}  // namespace kelvaro
