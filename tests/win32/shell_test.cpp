// The shell, process start and message boxes, for real.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "com_apartment.h"
#include "game_install.h"
#include "texts.h"
#include "win_message_box.h"
#include "win_process_starter.h"
#include "win_shell.h"

namespace kelvaro {
namespace {

namespace fs = std::filesystem;
using testing::GameInstall;

TEST(WinShell, FindsTheDocumentsFolderAndNothingForOtherIds) {
    const std::string documents = std::string(std::getenv("USERPROFILE")) + "\\Documents";
    struct Row {
        const char* what;
        int folderId;
        std::string path;
    } rows[] = {
        {"documents", 5, documents},
        {"unknown id", 0x7777, ""},
        {"a folder without a file-system path", 0x11, ""},  // the computer itself
    };
    WinShell shell;
    for (const Row& row : rows)
        EXPECT_EQ(shell.GetSpecialFolder(row.folderId), row.path) << row.what;
    EXPECT_TRUE(fs::is_directory(documents)) << documents;
}

// The launcher's thread stays in a single-threaded apartment while the object
// lives; a thread already in another apartment keeps it, and its own count.
TEST(ComApartment, HoldsASingleThreadedApartmentForItsLifeOnly) {
    APTTYPE type = APTTYPE_CURRENT;
    APTTYPEQUALIFIER qualifier = APTTYPEQUALIFIER_NONE;
    {
        const ComApartment com;
        ASSERT_EQ(CoGetApartmentType(&type, &qualifier), S_OK);
        EXPECT_EQ(type, APTTYPE_MAINSTA);
    }
    EXPECT_EQ(CoGetApartmentType(&type, &qualifier), CO_E_NOTINITIALIZED);

    std::thread([&] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        { const ComApartment com; }
        EXPECT_EQ(CoGetApartmentType(&type, &qualifier), S_OK);
        EXPECT_EQ(type, APTTYPE_MTA);
        CoUninitialize();
    }).join();
}

TEST(WinProcessStarter, StartsAQuotedProgramInAFolderWithSpacesWithoutWaiting) {
    char system[MAX_PATH] = {};
    ASSERT_NE(GetSystemDirectoryA(system, MAX_PATH), 0u);
    GameInstall game;
    fs::create_directories(game.Game("Games With Spaces"));
    const std::string program = game.GameFolder() + "Games With Spaces\\generals.exe";
    ASSERT_TRUE(CopyFileA((std::string(system) + "\\cmd.exe").c_str(), program.c_str(), FALSE));
    const fs::path marker = game.Game("started.txt");

    WinProcessStarter starter;
    std::string reason = "untouched";
    EXPECT_TRUE(starter.Start(
        program, "\"" + program + "\" /c echo started>\"" + marker.string() + "\"", &reason));
    EXPECT_EQ(reason, "untouched");
    for (int i = 0; i < 200 && !fs::exists(marker); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(fs::exists(marker)) << "the program did not run";
}

TEST(WinProcessStarter, ReportsWhyAProgramCouldNotStart) {
    GameInstall game;
    GameInstall::WriteFile(game.Game("generals.exe"), "not a program");
    struct Row {
        const char* what;
        std::string program;
    } rows[] = {
        {"missing program", game.GameFolder() + "missing\\generals.exe"},
        {"not a program", game.GameFolder() + "generals.exe"},
    };
    WinProcessStarter starter;
    for (const Row& row : rows) {
        std::string reason;
        EXPECT_FALSE(
            starter.Start(row.program, "\"" + row.program + "\" -mod Kelvaro2.big", &reason))
            << row.what;
        // One line for the player's message box, with no placeholder left in it.
        EXPECT_TRUE(!reason.empty() && reason.find_first_of("\r\n") == std::string::npos &&
                    reason.back() != ' ' && reason.find("%1") == std::string::npos)
            << row.what << ": " << reason;
    }
}

// The box is modal: a second thread reads it and presses its OK button.
TEST(WinMessageBox, ShowsTheTextUnderTheProductNameAndReturnsOnOk) {
    const std::string title(texts::kProductName);
    std::string shownText;
    std::thread player([&] {
        HWND box = nullptr;
        for (int i = 0; i < 200 && box == nullptr; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            box = FindWindowA("#32770", title.c_str());
        }
        if (box == nullptr) return;
        char text[256] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        shownText = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    WinMessageBox messages;
    messages.Show("Unable to find generals.exe.", Icon::Critical);
    player.join();
    EXPECT_EQ(shownText, "Unable to find generals.exe.");
}

}  // namespace
}  // namespace kelvaro
