#include "win_elevation.h"

#include <shellapi.h>

#include "error_text.h"

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

}  // namespace

// An administrator's ordinary session runs with the limited half of a split
// token, and "runas" gives the same person the full half. Any other token is
// whole: an elevated one has every right already; a standard account's
// would be raised with another person's password, to run the launcher and
// the game as that person, with their Documents folder, where the game would
// look for the mod, and their settings and saved games.
bool MayOfferRestart(std::optional<TOKEN_ELEVATION_TYPE> type, bool elevated, bool restarted) {
    return type == TokenElevationTypeLimited && !elevated && !restarted;
}

bool WinElevation::CanRestartElevated() {
    bool elevated = false;
    const std::optional<TOKEN_ELEVATION_TYPE> type = ElevationType(&elevated);
    return MayOfferRestart(type, elevated, restarted_);
}

Restart WinElevation::RestartElevated(const std::string& commandLine, std::string* reason) {
    char program[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (length == 0 || length >= sizeof program) {
        *reason = ErrorText(length == 0 ? GetLastError() : ERROR_INSUFFICIENT_BUFFER, "");
        return Restart::Failed;
    }
    // The new launcher starts in the exe's folder: the raised token does not
    // see the drives that this session mapped.
    const std::string path(program, length);
    const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
    // Windows shows its prompt in front only for the program in front. The
    // player's Yes was this process's last input, which lets it hand the
    // foreground on (AllowSetForegroundWindow): to the prompt, and to the
    // new launcher. At "Start Generals" the prompt is also owned by the main
    // window; at start-up the launcher has no window yet to own it.
    AllowSetForegroundWindow(ASFW_ANY);
    SHELLEXECUTEINFOA run = {};
    run.cbSize = sizeof run;
    // Returns once the new launcher has started or was refused; a refusal is
    // told by the launcher itself.
    run.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    run.hwnd = owner_;
    run.lpVerb = "runas";
    run.lpFile = program;
    run.lpParameters = commandLine.c_str();
    run.lpDirectory = folder.c_str();
    run.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExA(&run)) return Restart::Started;
    const DWORD error = GetLastError();
    if (error == ERROR_CANCELLED) return Restart::Declined;
    *reason = ErrorText(error, path);
    return Restart::Failed;
}

}  // namespace kelvaro
