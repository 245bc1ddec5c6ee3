#include "start_up.h"

namespace kelvaro {

int StartLauncher(StartUpSteps& steps) {
    steps.RestrictDllSearch();
    steps.DeclareDpiAwareness();
    steps.EnterComApartment();
    const int exitCode = steps.RunMainWindow();
    steps.LeaveComApartment();
    return exitCode;
}

}  // namespace kelvaro
