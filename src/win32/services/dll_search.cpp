#include "dll_search.h"

#include <string>

namespace kelvaro {

void RestrictDllSearch() {
    // Looked up at run time: importing it would stop the exe from starting on
    // a Windows 7 without the update.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    auto setDefaultDllDirectories =
        SystemFunction<SetDefaultDllDirectoriesFn>("kernel32.dll", "SetDefaultDllDirectories");
    if (setDefaultDllDirectories != nullptr) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

FARPROC SystemProcedure(const char* dll, const char* name) {
    char system[MAX_PATH];
    UINT length = GetSystemDirectoryA(system, sizeof system);
    if (length == 0 || length >= sizeof system) return nullptr;
    HMODULE module = LoadLibraryA((std::string(system, length) + "\\" + dll).c_str());
    return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

}  // namespace kelvaro
