// The grant of the game's Data folder: what the launcher's token allows, how
// the helper's start and its parameters are told, the helper's checks of its
// untrusted input, the objects it changes and the DACL it writes to each.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>
#include <shellapi.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "game_install.h"
#include "grant_helper.h"
#include "immutable.h"
#include "launcher_rig.h"
#include "scoped.h"
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

// A security descriptor's DACL as SDDL.
std::string Sddl(PSECURITY_DESCRIPTOR descriptor) {
    LocalMemory<char*> text;
    ConvertSecurityDescriptorToStringSecurityDescriptorA(
        descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, text.receive(), nullptr);
    return text.get() != nullptr ? text.get() : "?";
}

// Each object's DACL (Wine's follows the file's mode).
std::map<std::string, std::string> Dacls(const fs::path& root) {
    std::map<std::string, std::string> dacls;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        std::vector<BYTE> descriptor(4096);
        DWORD size = 0;
        dacls[entry.path().string()] =
            GetFileSecurityW(entry.path().c_str(), DACL_SECURITY_INFORMATION, descriptor.data(),
                             static_cast<DWORD>(descriptor.size()), &size)
                ? Sddl(descriptor.data())
                : "?";
    }
    return dacls;
}

// Every refusal comes with its own code and before any change: the game's
// folder and every DACL in it as they were. Granted ends the table: once to
// an account that the folder's DACLs grant already, which must write nothing
// (Wine would show a null DACL as mode 777), once to one they do not name.
TEST(GrantHelper, RefusesAnythingButAGameFolderWithItsDataFolderAndAUserAccount) {
    const std::string verb(texts::kGrantVerb), me = OwnAccountSid();
    ASSERT_FALSE(me.empty());
    const struct {
        const char* what;
        std::string setUp;                   // what is done to the pristine game first
        std::vector<std::string> arguments;  // "<game>" stands for the game folder
        DWORD exitCode;
    } rows[] = {
        {"no arguments", "", {}, ERROR_BAD_ARGUMENTS},
        {"no SID", "", {"<game>"}, ERROR_BAD_ARGUMENTS},
        {"one argument more", "", {"<game>", me, me}, ERROR_BAD_ARGUMENTS},
        {"a relative folder", "", {"Generals\\", me}, ERROR_BAD_PATHNAME},
        {"relative to a drive's own folder", "", {"C:Games\\Generals\\", me}, ERROR_BAD_PATHNAME},
        {"no closing backslash", "", {"<game>Data", me}, ERROR_BAD_PATHNAME},
        {"a way up", "", {"<game>Data\\..\\", me}, ERROR_BAD_PATHNAME},
        {"a share", "", {"\\\\server\\games\\Generals\\", me}, ERROR_BAD_PATHNAME},
        {"a device path", "", {"\\\\?\\<game>", me}, ERROR_BAD_PATHNAME},
        {"the local device path", "", {"\\\\.\\<game>", me}, ERROR_BAD_PATHNAME},
        {"a malformed SID", "", {"<game>", "S-1-5-21-x"}, ERROR_INVALID_SID},
        {"the built-in Administrator's alias", "", {"<game>", "LA"}, ERROR_INVALID_SID},
        {"the Users group's SID", "", {"<game>", "S-1-5-32-545"}, ERROR_NO_SUCH_USER},
        {"Everyone's SID", "", {"<game>", "S-1-1-0"}, ERROR_NO_SUCH_USER},
        {"no generals.exe", "no exe", {"<game>", me}, ERROR_FILE_NOT_FOUND},
        {"the Data folder inside", "", {"<game>Data\\", me}, ERROR_FILE_NOT_FOUND},
        {"no Data folder", "no Data", {"<game>", me}, ERROR_PATH_NOT_FOUND},
        {"Data a file", "Data a file", {"<game>", me}, ERROR_DIRECTORY},
        {"Data a link to another folder", "Data linked", {"<game>", me}, kReparsePointEncountered},
        {"the game folder a link", "game linked", {"<game>", me}, kReparsePointEncountered},
        {"the script a hard link", "script linked", {"<game>", me}, ERROR_TOO_MANY_LINKS},
        {"granted already", "", {"<game>", me}, ERROR_SUCCESS},
        {"another account", "", {"<game>", "S-1-5-21-0-0-0-500"}, ERROR_SUCCESS},
    };
    for (const auto& row : rows) {
        GameInstall game;
        game.MakePristineGame();
        const fs::path elsewhere = game.Root() / "elsewhere", folder = game.Root() / "game";
        if (row.setUp == "no exe") fs::remove(game.Game("generals.exe"));
        if (row.setUp == "no Data" || row.setUp == "Data a file" || row.setUp == "Data linked")
            fs::rename(game.Game("Data"), elsewhere);
        if (row.setUp == "Data a file") GameInstall::WriteFile(game.Game("Data"), "a file");
        if (row.setUp == "game linked") fs::rename(folder, elsewhere);
        if (row.setUp == "script linked") {
            GameInstall::WriteFile(elsewhere, "a file of Windows'");
            fs::remove(game.Game(std::string(texts::kGameScript)));
            ASSERT_TRUE(CreateHardLinkW(game.Game(std::string(texts::kGameScript)).c_str(),
                                        elsewhere.c_str(), nullptr));
        }
        // A host's symbolic link, which Wine shows as a reparse point (Wine
        // makes no junction, nor a link of its own).
        const fs::path link = row.setUp == "Data linked"   ? game.Game("Data")
                              : row.setUp == "game linked" ? folder
                                                           : fs::path();
        if (!link.empty()) {
            ASSERT_EQ(RunOnHost("ln -s", {UnixName(elsewhere.string()), UnixName(link.string())}),
                      "");
        }
        std::vector<std::string> arguments = {"Kelvaro Mod.exe", verb};
        for (std::string argument : row.arguments) {
            const size_t at = argument.find("<game>");
            if (at != std::string::npos) argument.replace(at, 6, game.GameFolder());
            arguments.push_back(argument);
        }
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        const testing::Tree before = testing::Snapshot(game.Root());
        const auto dacls = Dacls(game.Root());
        EXPECT_EQ(RunGrantHelper(static_cast<int>(argv.size()), argv.data()), row.exitCode)
            << row.what;
        EXPECT_EQ(testing::Snapshot(game.Root()), before) << row.what;
        EXPECT_EQ(Dacls(game.Root()), dacls) << row.what;
        if (!link.empty()) {
            EXPECT_EQ(RunOnHost("rm", {UnixName(link.string())}), "");
        }
    }
}

// The entries of SDDL, in order: "(A;;FA;;;BA)" and the like.
std::vector<std::string> Entries(const std::string& sddl) {
    std::vector<std::string> entries;
    for (size_t open = sddl.find('('); open != std::string::npos; open = sddl.find('(', open + 1))
        entries.push_back(sddl.substr(open, sddl.find(')', open) - open + 1));
    return entries;
}

std::vector<std::string> Entries(PACL acl) {
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    return Entries(Sddl(&descriptor));
}

// A security descriptor from SDDL, or else the object's own, and its DACL.
std::vector<BYTE> Descriptor(const std::string& sddl, HANDLE object) {
    std::vector<BYTE> bytes(4096);
    DWORD size = 0;
    LocalMemory<PSECURITY_DESCRIPTOR> made;
    const bool read = sddl.empty() ? GetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION,
                                                             bytes.data(), bytes.size(), &size)
                                   : ConvertStringSecurityDescriptorToSecurityDescriptorA(
                                         sddl.c_str(), SDDL_REVISION_1, made.receive(), &size);
    if (!read) ADD_FAILURE() << "no DACL " << sddl << ", error " << GetLastError();
    if (made.get() != nullptr)
        bytes.assign(static_cast<BYTE*>(made.get()), static_cast<BYTE*>(made.get()) + size);
    return bytes;
}

PACL DaclIn(std::vector<BYTE>& descriptor) {
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(descriptor.data(), &present, &dacl, &defaulted);
    return dacl;
}

// The objects that the grant changes in a game folder in each state, and the
// entries it adds to each: exactly the rights of the launcher's own moves,
// after the object's own entries and before the inherited ones, each entry
// kept, decided object by object (a grant that reached some completes the
// rest); a second grant adds nothing. The DACLs are Wine's, which follow the
// files' modes and name no other account, or a row's own.
TEST(GrantHelper, ChangesWhatTheLauncherMovesWithTheRightsOfItsMovesAlone) {
    const std::string player = "S-1-5-21-1-2-3-1001", data(texts::kDataFolder),
                      ini(texts::kIniFolder), hidden(texts::kHiddenIniFolder),
                      scripts(texts::kScriptsFolder), script(texts::kGameScript),
                      backup(texts::kScriptBackup), moved = "(A;;0x110000;;;" + player + ")";
    LocalMemory<PSID> sid;
    ASSERT_TRUE(ConvertStringSidToSidA(player.c_str(), sid.receive()));
    // What each object lacks gets.
    const std::map<std::string, std::string> grants = {
        {data, "(A;;0x100004;;;" + player + ")"},
        {scripts, "(A;;0x100002;;;" + player + ")(A;OIIO;0x13019f;;;" + player + ")"},
        {ini, moved},
        {hidden, moved},
        {script, moved},
        {backup, moved}};
    const std::vector<std::string> pristine = {data, ini, scripts, script};
    const struct {
        const char* what;
        std::string setUp;
        std::map<std::string, std::string> dacls;  // "*": every object's
        std::vector<std::string> objects;          // what the grant opens, in order
        std::set<std::string> grantedAlready = {};
    } rows[] = {
        {"pristine", "", {}, pristine, {}},
        {"prepared and substituted", "hidden swapped", {}, {data, hidden, scripts, script, backup}},
        {"both INI folders, the backup alone",
         "both backup",
         {},
         {data, ini, hidden, scripts, backup}},
        {"no Scripts folder", "no Scripts", {}, {data, ini}},
        {"Program Files' DACLs",
         "",
         {{"*",
           "D:AI(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)"
           "(A;OICIID;0x1200a9;;;BU)(A;OICIIOID;GA;;;CO)"}},
         pristine},
        {"an earlier grant on Data alone, its copy inherited by INI; Scripts protected",
         "",
         {{data, "D:(A;OICI;0x1301bf;;;" + player + ")"},
          {ini, "D:AI(A;OICIID;0x1301bf;;;" + player + ")"},
          {scripts, "D:PAI(A;OICI;FA;;;BA)"}},
         pristine,
         {data, ini}},
        {"the player denied, or granted everything",
         "",
         {{data, "D:(D;OI;SD;;;" + player + ")(A;OICI;FA;;;BA)"},
          {ini, "D:(A;;FA;;;" + player + ")"},
          {scripts, "D:(A;OICI;GA;;;" + player + ")"}},
         pristine,
         {ini, scripts}},
        {"no DACL: everyone may do everything",
         "",
         {{"*", "O:BA"}},
         pristine,
         {data, ini, scripts, script}},
    };
    for (const auto& row : rows) {
        GameInstall game;
        game.MakePristineGame();
        if (row.setUp == "hidden swapped" || row.setUp == "both backup") {
            fs::create_directory(game.Game(hidden));
            GameInstall::WriteFile(game.Game(backup), "the game's own");
        }
        if (row.setUp == "hidden swapped") fs::remove_all(game.Game(ini));
        if (row.setUp == "both backup") fs::remove(game.Game(script));
        if (row.setUp == "no Scripts") fs::remove_all(game.Game(scripts));
        GrantTargets targets;
        const std::string folder = game.GameFolder();
        ASSERT_EQ(OpenGrantTargets({folder.begin(), folder.end()}, &targets), ERROR_SUCCESS)
            << row.what;
        std::vector<std::string> opened;
        for (const GrantTarget& target : targets.objects) {
            const std::string& path = opened.emplace_back(target.path);
            SCOPED_TRACE(std::string(row.what) + ": " + path);
            const auto given =
                row.dacls.contains(path) ? row.dacls.find(path) : row.dacls.find("*");
            std::vector<BYTE> descriptor =
                Descriptor(given != row.dacls.end() ? given->second : "", target.handle.get());
            std::vector<std::string> expected = Entries(DaclIn(descriptor));
            if (!row.grantedAlready.contains(path)) {
                const std::vector<std::string> added = Entries(grants.at(path));
                const auto inherited = std::ranges::find_if(expected, [](const std::string& entry) {
                    return entry.find("ID;") != std::string::npos;
                });
                expected.insert(inherited, added.begin(), added.end());
            }
            std::vector<BYTE> granted, again;
            ASSERT_EQ(DaclWithGrant(DaclIn(descriptor), sid.get(), target.rights, &granted),
                      ERROR_SUCCESS);
            EXPECT_EQ(granted.empty() ? Entries(DaclIn(descriptor))
                                      : Entries(reinterpret_cast<PACL>(granted.data())),
                      expected);
            if (granted.empty()) continue;
            EXPECT_EQ(DaclWithGrant(reinterpret_cast<PACL>(granted.data()), sid.get(),
                                    target.rights, &again),
                      ERROR_SUCCESS);
            EXPECT_TRUE(again.empty()) << "granted twice";
        }
        EXPECT_EQ(opened, row.objects) << row.what;
    }
}

}  // namespace
}  // namespace kelvaro
