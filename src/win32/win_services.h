// The launcher's outside world on Windows: the narrow ("A") forms of
// kernel32, advapi32, shell32, comctl32 and user32.
#pragma once

#include <windows.h>
// The name stays the core's interface; Windows' own box is called as MessageBoxA.
#undef MessageBox

#include <string>
#include <utility>

#include "platform.h"

namespace kelvaro {

class WinFileSystem : public FileSystem {
  public:
    Entry Lookup(const std::string& path) override;
    // A change refused with an error that rights would mend is Refused.
    Change Rename(const std::string& from, const std::string& to) override;
    Change Delete(const std::string& path) override;
    Change Copy(const std::string& from, const std::string& to) override;
};

class WinRegistry : public Registry {
  public:
    long OpenKey(std::uint32_t hive, const std::string& subKey, std::uint32_t options,
                 std::uint32_t access, RegHandle* key) override;
    long QueryValue(RegHandle key, const std::string& name, std::uint32_t* type,
                    unsigned char* data, std::uint32_t* size) override;
    void CloseKey(RegHandle key) override;
};

class WinShell : public Shell {
  public:
    std::string GetSpecialFolder(int folderId) override;
    void OpenWebPage(const std::string& target) override;
    void InitControlStyles() override;
};

class WinProcessStarter : public ProcessStarter {
  public:
    bool Start(const std::string& application, const std::string& commandLine,
               std::string* reason) override;
};

// Message boxes titled with the product name, owned by whichever launcher
// window is active: none during start-up, then the dialog or the main window.
class WinMessageBox : public MessageBox {
  public:
    void Show(const std::string& text, Icon icon) override;
    bool Ask(const std::string& text) override;
    void SetOwner(HWND owner) { owner_ = owner; }
    HWND Owner() const { return owner_; }

  private:
    HWND owner_ = nullptr;
};

// Elevation through UAC: a launcher that runs with an administrator's
// limited rights, or a standard user's, asks Windows to start it again with
// full ones ("runas"), which shows Windows' prompt.
class WinElevation : public Elevation {
  public:
    // `commandLine`: the launcher's own, without its program's name.
    explicit WinElevation(std::string commandLine) : commandLine_(std::move(commandLine)) {}
    bool CanRestartElevated() override;
    bool RestartElevated() override;
    // The window that Windows' prompt belongs to, as for message boxes.
    void SetOwner(HWND owner) { owner_ = owner; }

  private:
    std::string commandLine_;
    HWND owner_ = nullptr;
};

}  // namespace kelvaro
