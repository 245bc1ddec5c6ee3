// The launcher's entry point: the Windows services behind the launcher's
// logic, then the main window's start and its events until the process ends.
#include <windows.h>

#include "com_apartment.h"
#include "dll_search.h"
#include "dpi.h"
#include "main_window.h"
#include "win_services.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    kelvaro::RestrictDllSearch();
    kelvaro::DeclareDpiAwareness();
    const kelvaro::ComApartment com;
    kelvaro::WinFileSystem files;
    kelvaro::WinRegistry registry;
    kelvaro::WinShell shell;
    kelvaro::WinProcessStarter processes;
    kelvaro::WinMessageBox messages;
    kelvaro::MainWindow window(instance, {files, registry, shell, processes, messages},
                               [&messages](HWND owner) { messages.SetOwner(owner); });
    if (!window.Open(showCommand)) return 1;
    window.RunMessageLoop();
    return 0;
}
