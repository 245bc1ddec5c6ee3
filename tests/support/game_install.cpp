#include "game_install.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

namespace kelvaro::testing {

namespace fs = std::filesystem;

namespace {

constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);

std::string Native(std::string relative) {
    std::replace(relative.begin(), relative.end(), '\\', kSeparator);
    return relative;
}

}  // namespace

// Binary, with bytes that a text-mode copy would change.
const std::string GameInstall::kGameScriptBytes = std::string("GAME\r\n\0\x1a\xff own script", 19);

std::string GameInstall::TierScriptBytes(int tier) {
    return "tier " + std::to_string(tier) + std::string("\0\r\n\x7f script", 11);
}

GameInstall::GameInstall() {
    std::random_device random;
    root_ = fs::temp_directory_path() / ("kelvaro-" + std::to_string(random()));
    fs::create_directories(root_ / "game");
    fs::create_directories(root_ / "docs" / "Command and Conquer Generals Data" / "Kelvaro Mod");
}

GameInstall::~GameInstall() {
    std::error_code ignored;
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
}

std::string GameInstall::GameFolder() const {
    return (root_ / "game").string() + kSeparator;
}

std::string GameInstall::DocumentsFolder() const {
    return (root_ / "docs").string();
}

std::string GameInstall::UserDataFolder() const {
    return DocumentsFolder() + kSeparator + "Command and Conquer Generals Data" + kSeparator;
}

fs::path GameInstall::Game(const std::string& relative) const {
    return root_ / "game" / Native(relative);
}

fs::path GameInstall::UserData(const std::string& relative) const {
    return root_ / "docs" / "Command and Conquer Generals Data" / Native(relative);
}

void GameInstall::MakePristineGame() {
    fs::create_directories(Game("Data\\INI"));
    fs::create_directories(Game("Data\\Scripts"));
    WriteFile(Game("Data\\INI\\GameData.ini"), "GameData\r\nEnd\r\n");
    WriteFile(Game("Data\\INI\\Weapon.ini"), "Weapon\r\nEnd\r\n");
    WriteFile(Game("Data\\Scripts\\SkirmishScripts.scb"), kGameScriptBytes);
    WriteFile(Game("generals.exe"), "MZ stand-in");
}

void GameInstall::AddArchive(int tier) {
    WriteFile(UserData("Kelvaro" + std::to_string(tier) + ".big"), "BIGF");
}

void GameInstall::AddTierScript(int tier) {
    WriteFile(UserData("Kelvaro Mod\\SkirmishScripts" + std::to_string(tier) + ".scb"),
              TierScriptBytes(tier));
}

void GameInstall::WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

std::string GameInstall::ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace kelvaro::testing
