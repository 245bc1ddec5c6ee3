#include "start_up.h"

#include "trace.h"

namespace kelvaro {

int StartLauncher(StartUpSteps& steps) {
    trace::PhaseEnd("process start to WinMain");
    steps.RestrictDllSearch();
    trace::PhaseEnd("DLL-search restriction");
    steps.DeclareDpiAwareness();
    trace::PhaseEnd("DPI awareness");
    steps.EnterComApartment();
    trace::PhaseEnd("COM");
    const int exitCode = steps.RunMainWindow();
    steps.LeaveComApartment();
    return exitCode;
}

}  // namespace kelvaro
