#include "dll_search.h"

#include <windows.h>

namespace kelvaro {

void RestrictDllSearch() {
    // Looked up at run time: importing it would stop the exe from starting on
    // a Windows 7 without the update.
    HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    if (kernel32 == nullptr) return;
    FARPROC found = GetProcAddress(kernel32, "SetDefaultDllDirectories");
    if (found == nullptr) return;
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    auto setDefaultDllDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void (*)()>(found));
    setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace kelvaro
