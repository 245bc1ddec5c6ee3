// Keeps the launcher from loading a DLL planted beside it or in the current
// folder: DLLs named without a path are then looked up in system32 only.
#pragma once

namespace kelvaro {

// Call first thing in WinMain, before anything can load a DLL by name. Does
// nothing on a Windows that lacks SetDefaultDllDirectories (Windows 7 without
// KB2533623).
void RestrictDllSearch();

}  // namespace kelvaro
