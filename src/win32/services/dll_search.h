// Keeps the launcher from loading a DLL planted beside it or in the current
// folder: DLLs named without a path are then looked up in system32 only, and
// the DLLs it loads itself come from the system folder by full path.
#pragma once

#include <windows.h>

namespace kelvaro {

// Call first thing in WinMain, before anything can load a DLL by name. Does
// nothing on a Windows that lacks SetDefaultDllDirectories (Windows 7 without
// KB2533623).
void RestrictDllSearch();

// A function of a DLL in the system folder, loaded by its full path (and kept
// loaded); nullptr when either cannot be found.
FARPROC SystemProcedure(const char* dll, const char* name);

template <class Function>
Function SystemFunction(const char* dll, const char* name) {
    FARPROC found = SystemProcedure(dll, name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace kelvaro
