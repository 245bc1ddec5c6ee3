// The launcher's start, in the order that Windows asks for: DLLs named
// without a path restricted to the system folder before anything can load
// one, the DPI awareness declared before the first window exists, COM entered
// before the window's banner, shell and open box use it; then the main
// window, whose events run until the process ends.
#pragma once

namespace kelvaro {

// The steps, each one call of the platform or the launcher; WinMain gives
// the real ones.
class StartUpSteps {
  public:
    virtual ~StartUpSteps() = default;
    virtual void RestrictDllSearch() = 0;
    virtual void DeclareDpiAwareness() = 0;
    virtual void EnterComApartment() = 0;
    virtual void LeaveComApartment() = 0;
    // Opens the main window and runs its events; the process's exit code.
    virtual int RunMainWindow() = 0;
};

int StartLauncher(StartUpSteps& steps);

}  // namespace kelvaro
