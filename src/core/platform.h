// The outside world as the launcher sees it. The core reaches files, the
// registry, the shell, process start, message boxes and its own windows only
// through these interfaces, so that the same logic runs inside the Windows
// program and, against real folders and fakes, in the native tests.
#pragma once

#include <cstdint>
#include <string>

namespace kelvaro {

// What a look-up of one exact path found.
enum class Entry {
    Missing,     // nothing under that name
    NormalFile,  // a file that is neither hidden nor a system file
    Other,       // a folder, or a hidden or system file
    Unknown,     // the look-up itself failed
};

// What became of a change to the disk.
enum class Change {
    Made,
    Failed,   // as happens: the source absent, the target taken, the file in use or read-only
    Refused,  // for want of rights: Windows protects the folder from this user
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    virtual Entry Lookup(const std::string& path) = 0;
    // Renames a file or folder; never replaces an existing target.
    virtual Change Rename(const std::string& from, const std::string& to) = 0;
    // Deletes one file.
    virtual Change Delete(const std::string& path) = 0;
    // Copies the bytes of a file, overwriting the destination when it exists.
    virtual Change Copy(const std::string& from, const std::string& to) = 0;
    // Whether two files hold the same bytes; false where either cannot be read.
    virtual bool SameBytes(const std::string& first, const std::string& second) = 0;
};

// The registry's own calls, with its result codes (0 = success).
using RegHandle = std::uintptr_t;

class Registry {
  public:
    virtual ~Registry() = default;
    virtual long OpenKey(std::uint32_t hive, const std::string& subKey, std::uint32_t options,
                         std::uint32_t access, RegHandle* key) = 0;
    virtual long QueryValue(RegHandle key, const std::string& name, std::uint32_t* type,
                            unsigned char* data, std::uint32_t* size) = 0;
    virtual void CloseKey(RegHandle key) = 0;
};

class Shell {
  public:
    virtual ~Shell() = default;
    // The path of a shell special folder, or the empty text.
    virtual std::string GetSpecialFolder(int folderId) = 0;
    virtual void OpenWebPage(const std::string& target) = 0;
    virtual void InitControlStyles() = 0;
};

class ProcessStarter {
  public:
    virtual ~ProcessStarter() = default;
    // Starts a program without waiting for it. On failure returns false and
    // puts the platform's reason into *reason.
    virtual bool Start(const std::string& application, const std::string& commandLine,
                       std::string* reason) = 0;
};

enum class Icon { Critical, Exclamation };

class MessageBox {
  public:
    virtual ~MessageBox() = default;
    // A modal box with one OK button; returns when the player dismisses it.
    virtual void Show(const std::string& text, Icon icon) = 0;
    // A modal box with the exclamation icon and the buttons Yes and No;
    // true when the player answers Yes.
    virtual bool Ask(const std::string& text) = 0;
};

// What became of the request for an administrator's approval.
enum class Grant {
    Made,      // the player's account may now change the game's Data folder
    Declined,  // the player's No in Windows' prompt
    Failed,    // the helper could not start, or its grant failed
};

// An administrator's approval, which a game folder that Windows protects
// takes to change: given once, to the player's own account, for the game's
// Data folder, so that the launcher and the game always run at the player's
// own rights.
class Elevation {
  public:
    virtual ~Elevation() = default;
    // Whether the launcher runs with an administrator's full rights already,
    // so that no grant could lift a refusal.
    virtual bool HasEveryRight() = 0;
    // Asks Windows to start the grant helper with an administrator's rights
    // and waits for it: it lets the account the launcher runs as change
    // `gameFolder` followed by "Data\". On Failed, puts the platform's
    // reason into *reason.
    virtual Grant GrantDataFolder(const std::string& gameFolder, std::string* reason) = 0;
};

// The main window's controls, as far as the launcher's logic uses them.
class MainFrmView {
  public:
    virtual ~MainFrmView() = default;
    virtual std::string TechTag(int index) = 0;
    virtual void CheckTech(int index) = 0;
    virtual void SetLabel1(const std::string& caption) = 0;
    // Shows the game location dialog modally and returns when it is closed.
    virtual void ShowPathFrm() = 0;
    virtual void UnloadWindows() = 0;
    virtual void EndProcess() = 0;
};

// The game location dialog's controls.
class PathFrmView {
  public:
    virtual ~PathFrmView() = default;
    virtual std::string Text1() = 0;
    virtual void SetText1(const std::string& text) = 0;
    // Shows the file-open box. On a choice, replaces *fileName with the full
    // path chosen; on a cancel or failure, leaves it as it was.
    virtual void ShowOpenBox(std::string* fileName) = 0;
    virtual void Unload() = 0;
    virtual void EndProcess() = 0;
};

}  // namespace kelvaro
