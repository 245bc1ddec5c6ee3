// The launcher's entry point: its start-up steps with the Windows services
// behind the launcher's logic, then the main window's events until the
// process ends.
#include <optional>
#include <string>

#include "com_apartment.h"
#include "dll_search.h"
#include "dpi.h"
#include "main_window.h"
#include "start_options.h"
#include "start_up.h"
#include "win_desktop.h"
#include "win_elevation.h"
#include "win_file_system.h"
#include "win_message_box.h"
#include "win_process_starter.h"
#include "win_registry.h"
#include "win_shell.h"

namespace kelvaro {
namespace {

class WinStartUp : public StartUpSteps {
  public:
    WinStartUp(HINSTANCE instance, const char* commandLine, int showCommand)
        : instance_(instance), commandLine_(commandLine), showCommand_(showCommand) {}

    void RestrictDllSearch() override { kelvaro::RestrictDllSearch(); }
    void DeclareDpiAwareness() override { kelvaro::DeclareDpiAwareness(); }
    void EnterComApartment() override { com_.emplace(); }
    void LeaveComApartment() override { com_.reset(); }
    int RunMainWindow() override {
        WinFileSystem files;
        WinRegistry registry;
        WinShell shell;
        WinProcessStarter processes;
        WinMessageBox messages;
        const StartOptions options = ReadStartOptions(commandLine_);
        WinElevation elevation(options.restarted);
        WinDesktop desktop;
        MainWindow window(instance_, {files, registry, shell, processes, messages, elevation},
                          desktop, [&](HWND owner) {
                              messages.SetOwner(owner);
                              elevation.SetOwner(owner);
                          });
        if (!window.Open(showCommand_, options.tier)) return 1;
        window.RunMessageLoop();
        return 0;
    }

  private:
    HINSTANCE instance_;
    std::string commandLine_;
    int showCommand_;
    std::optional<ComApartment> com_;
};

}  // namespace
}  // namespace kelvaro

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    kelvaro::WinStartUp steps(instance, commandLine, showCommand);
    return kelvaro::StartLauncher(steps);
}
