// The players' read-me that ships in the release zip: it quotes every message
// of the launcher and names the files and folders the launcher touches, as the
// program spells them, so that a changed text cannot leave it telling players
// something else.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "texts.h"

namespace kelvaro::testing {
namespace {

std::string ReadMe() {
    std::ifstream stream(KELVARO_PLAYERS_README, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

// Line breaks and indentation become single blanks, as a reader sees them.
std::string Words(const std::string& text) {
    std::string words;
    for (char c : text) {
        bool blank = c == ' ' || c == '\n' || c == '\r';
        if (!blank) {
            words.push_back(c);
        } else if (!words.empty() && words.back() != ' ') {
            words.push_back(' ');
        }
    }
    return words;
}

TEST(PlayersReadMe, QuotesEveryMessageAndNameAsTheLauncherHasIt) {
    const std::string readMe = Words(ReadMe());
    ASSERT_FALSE(readMe.empty()) << "cannot read " << KELVARO_PLAYERS_README;
    struct Row {
        const char* what;
        std::string text;
    } rows[] = {
        {"game not located", std::string(texts::kGameNotLocated)},
        {"game program missing", std::string(texts::kGameProgramMissing)},
        {"wrong path", std::string(texts::kWrongPath)},
        {"archive missing", "Kelvaro3.big" + std::string(texts::kArchiveMissingTail)},
        {"tier script missing",
         "SkirmishScripts2.scb" + std::string(texts::kTierScriptMissingTail)},
        {"game not started", std::string(texts::kGameNotStarted) + "C:\\"},
        {"folder refused", std::string(texts::kFolderRefusedHead) + "C:\\"},
        {"grant question",
         std::string(texts::kFolderRefusedTail) + std::string(texts::kGrantQuestion)},
        {"grant failed", std::string(texts::kGrantFailed)},
        {"refused to an administrator",
         std::string(texts::kRefusedToAdministrators) + std::string(texts::kGoingOnUnchanged)},
        {"still refused",
         std::string(texts::kStillRefused) + std::string(texts::kGoingOnUnchanged)},
        {"grant helper", std::string(texts::kGrantVerb)},
        {"dialog caption", std::string(texts::kPathCaption)},
        {"message box title", '"' + std::string(texts::kProductName) + '"'},
        {"web page", std::string(texts::kWebPage)},
        {"game data folder", std::string(texts::kUserDataSuffix)},
        {"tier script", std::string(texts::kTierScriptPrefix) + "1.scb"},
        {"INI folder", std::string(texts::kIniFolder)},
        {"hidden INI folder", std::string(texts::kHiddenIniFolder)},
        {"game script", std::string(texts::kGameScript)},
        {"backup", "SkirmishScripts.xxx"},
    };
    for (const Row& row : rows) {
        EXPECT_NE(readMe.find(Words(row.text)), std::string::npos)
            << row.what << ": \"" << row.text << "\" is not in the read-me";
    }
}

TEST(PlayersReadMe, IsPlainAsciiForEveryWindowsEditor) {
    const std::string readMe = ReadMe();
    std::size_t at =
        std::find_if(readMe.begin(), readMe.end(), [](unsigned char c) { return c >= 0x80; }) -
        readMe.begin();
    EXPECT_EQ(at, readMe.size()) << "a byte beyond ASCII at offset " << at;
}

}  // namespace
}  // namespace kelvaro::testing
