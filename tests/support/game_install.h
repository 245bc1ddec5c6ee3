// A game install and a player's game data folder in a fresh temporary folder,
// as the launcher finds them on a player's machine.
#pragma once

#include <filesystem>
#include <string>

#include "texts.h"

namespace kelvaro::testing {

// Relative paths inside the game folder, as the launcher names them (the
// game install itself is made as the game has it, not from these).
inline const std::string kIni(texts::kIniFolder);
inline const std::string kHiddenIni(texts::kHiddenIniFolder);
inline const std::string kScript(texts::kGameScript);
inline const std::string kBackup(texts::kScriptBackup);

class GameInstall {
  public:
    GameInstall();
    ~GameInstall();
    GameInstall(const GameInstall&) = delete;
    GameInstall& operator=(const GameInstall&) = delete;

    // Folder strings as the launcher uses them: native form, trailing separator.
    std::string GameFolder() const;
    std::string DocumentsFolder() const;  // no trailing separator, as the shell gives it
    std::string UserDataFolder()
        const;  // DocumentsFolder() + "\Command and Conquer Generals Data\"

    // Paths relative to the game folder or the user data folder, backslashes allowed.
    std::filesystem::path Game(const std::string& relative) const;
    std::filesystem::path UserData(const std::string& relative) const;

    // The pristine install: Data\INI\ with two files, the game's own script
    // and generals.exe.
    void MakePristineGame();
    void AddArchive(int tier);
    void AddTierScript(int tier);

    static void WriteFile(const std::filesystem::path& path, const std::string& bytes);
    static std::string ReadFile(const std::filesystem::path& path);

    static const std::string kGameScriptBytes;
    static std::string TierScriptBytes(int tier);

    const std::filesystem::path& Root() const { return root_; }

  private:
    std::filesystem::path root_;
};

}  // namespace kelvaro::testing
