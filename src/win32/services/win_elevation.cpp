#include "win_elevation.h"

#include <shellapi.h>

#include <optional>

#include "texts.h"

namespace kelvaro {

namespace {

// What the process's token tells of elevation; nothing on Windows XP, whose
// tokens know no elevation.
std::optional<TOKEN_ELEVATION_TYPE> ElevationType(bool* elevated) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    const bool known =
        GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size) &&
        GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    CloseHandle(token);
    if (!known) return std::nullopt;
    *elevated = elevation.TokenIsElevated != 0;
    return type;
}

// User Account Control, on unless the machine's policy turns it off: without
// it nobody is raised to an administrator.
bool UacOn() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return true;
    }
    DWORD enabled = 1, type = 0, size = sizeof enabled;
    const LONG read = RegQueryValueExA(key, "EnableLUA", nullptr, &type,
                                       reinterpret_cast<BYTE*>(&enabled), &size);
    RegCloseKey(key);
    return read != ERROR_SUCCESS || type != REG_DWORD || enabled != 0;
}

}  // namespace

// An administrator's ordinary session runs with the limited half of a split
// token; a standard user's token is whole and can be raised with an
// administrator's password while UAC is on. A full or elevated token has all
// the rights there are already.
bool WinElevation::CanRestartElevated() {
    if (commandLine_ == texts::kRestartedOption) return false;
    bool elevated = false;
    const std::optional<TOKEN_ELEVATION_TYPE> type = ElevationType(&elevated);
    if (!type || elevated) return false;
    return *type == TokenElevationTypeLimited || UacOn();
}

bool WinElevation::RestartElevated() {
    char program[MAX_PATH];
    const DWORD programLength = GetModuleFileNameA(nullptr, program, sizeof program);
    char folder[MAX_PATH];
    const DWORD folderLength = GetCurrentDirectoryA(sizeof folder, folder);
    if (programLength == 0 || programLength >= sizeof program || folderLength == 0 ||
        folderLength >= sizeof folder) {
        return false;
    }
    const std::string option(texts::kRestartedOption);
    SHELLEXECUTEINFOA run = {};
    run.cbSize = sizeof run;
    // Returns once the new launcher has started or was refused: this one
    // ends right after, and a refusal is answered by the launcher itself.
    run.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    run.hwnd = owner_;
    run.lpVerb = "runas";
    run.lpFile = program;
    run.lpParameters = option.c_str();
    run.lpDirectory = folder;
    run.nShow = SW_SHOWNORMAL;
    return ShellExecuteExA(&run) != FALSE;
}

}  // namespace kelvaro
