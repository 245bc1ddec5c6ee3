// The launcher's entry point: its start-up steps with the Windows services
// behind the launcher's logic, then the main window's events until the
// process ends; or, started with the grant helper's verb, the helper alone.
#include <cstdlib>
#include <optional>
#include <string_view>

#include "com_apartment.h"
#include "dll_search.h"
#include "dpi.h"
#include "grant_helper.h"
#include "main_window.h"
#include "start_up.h"
#include "texts.h"
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
    WinStartUp(HINSTANCE instance, int showCommand)
        : instance_(instance), showCommand_(showCommand) {}

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
        WinElevation elevation;
        WinDesktop desktop;
        MainWindow window(instance_, {files, registry, shell, processes, messages, elevation},
                          desktop, [&](HWND owner) {
                              messages.SetOwner(owner);
                              elevation.SetOwner(owner);
                          });
        if (!window.Open(showCommand_)) return 1;
        window.RunMessageLoop();
        return 0;
    }

  private:
    HINSTANCE instance_;
    int showCommand_;
    std::optional<ComApartment> com_;
};

}  // namespace
}  // namespace kelvaro

// Players start the launcher without a command line, and whatever one it is
// given is ignored, but for the grant helper's verb, which only the launcher
// itself passes, through Windows' prompt. The C runtime has split it.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (__argc > 1 && __argv[1] == kelvaro::texts::kGrantVerb) {
        kelvaro::RestrictDllSearch();
        return static_cast<int>(kelvaro::RunGrantHelper(__argc, __argv));
    }
    kelvaro::WinStartUp steps(instance, showCommand);
    return kelvaro::StartLauncher(steps);
}
