#include "win_elevation.h"

#include <sddl.h>
#include <shellapi.h>

#include <vector>

#include "error_text.h"
#include "scoped.h"
#include "texts.h"

namespace kelvaro {

namespace {

// What the process's token tells of elevation; nothing on Windows XP, whose
// tokens know no elevation.
std::optional<bool> TokenElevated() {
    ScopedHandle token;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive()) ||
        !GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size)) {
        return std::nullopt;
    }
    return elevation.TokenIsElevated != 0;
}

bool InAdministratorsGroup() {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    BOOL member = FALSE;
    if (AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                 0, 0, 0, 0, &administrators)) {
        if (!CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
        FreeSid(administrators);
    }
    return member != FALSE;
}

// One argument as the C runtime splits a command line: in quotes, with the
// backslashes before a quote or before the closing quote doubled.
std::string Quoted(const std::string& argument) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
        } else {
            if (c == '"') quoted.append(backslashes + 1, '\\');
            backslashes = 0;
        }
        quoted += c;
    }
    quoted.append(backslashes, '\\');
    return quoted + "\"";
}

// Waits for the helper as a modal dialog holds its owner: the window takes no
// input but still paints. A quit request that comes meanwhile is passed on
// to the launcher's own loop once the helper has ended.
DWORD WaitForHelper(HWND owner, HANDLE helper) {
    const bool disabled = owner != nullptr && !EnableWindow(owner, FALSE);
    std::optional<WPARAM> quit;
    while (!quit && MsgWaitForMultipleObjects(1, &helper, FALSE, INFINITE, QS_ALLINPUT) ==
                        WAIT_OBJECT_0 + 1) {
        MSG message;
        while (!quit && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = message.wParam;
                break;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    WaitForSingleObject(helper, INFINITE);
    if (disabled) EnableWindow(owner, TRUE);
    if (quit) PostQuitMessage(static_cast<int>(*quit));
    DWORD exitCode = ERROR_INVALID_FUNCTION;
    if (!GetExitCodeProcess(helper, &exitCode)) exitCode = GetLastError();
    return exitCode;
}

}  // namespace

std::string OwnAccountSid() {
    ScopedHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive())) return {};
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    LocalMemory<char*> text;
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, user.data(), size, &size) ||
        !ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid,
                                text.receive())) {
        return {};
    }
    return text.get();
}

bool HasAdministratorsRights(std::optional<bool> elevated, bool administrator) {
    return elevated.value_or(administrator);
}

Grant GrantOfStartFailure(DWORD error) {
    return error == ERROR_CANCELLED ? Grant::Declined : Grant::Failed;
}

std::string GrantParameters(const std::string& gameFolder, const std::string& sid) {
    return std::string(texts::kGrantVerb) + " " + Quoted(gameFolder) + " " + Quoted(sid);
}

// A split token's limited half (an administrator's ordinary session), a
// standard account's token and, under administrator protection, the
// player's own deprived token are not elevated: the helper's grant helps
// them all. A token raised already is refused nothing that a grant would
// give.
bool WinElevation::HasEveryRight() {
    return HasAdministratorsRights(TokenElevated(), InAdministratorsGroup());
}

// The helper runs as whoever approves it: the same person raised in an
// administrator's ordinary session, another person whose password was given
// on a standard account, the hidden administrator account of administrator
// protection, or on Windows XP the account picked in its "Run As" box (XP
// has no UAC: "runas" shows that box, where the player may keep the own
// account or name an administrator's). So the account to grant is read from
// this launcher's token, never from the helper's.
Grant WinElevation::GrantDataFolder(const std::string& gameFolder, std::string* reason) {
    char program[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (length == 0 || length >= sizeof program) {
        *reason = ErrorText(length == 0 ? GetLastError() : ERROR_INSUFFICIENT_BUFFER, "");
        return Grant::Failed;
    }
    const std::string sid = OwnAccountSid();
    if (sid.empty()) {
        *reason = ErrorText(GetLastError(), "");
        return Grant::Failed;
    }
    const std::string parameters = GrantParameters(gameFolder, sid);
    SHELLEXECUTEINFOA run = {};
    run.cbSize = sizeof run;
    // The exe runs already: the download zone's check would only delay the
    // prompt. The launcher tells a failure itself.
    run.fMask =
        SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_NOZONECHECKS | SEE_MASK_FLAG_NO_UI;
    // The prompt belongs to the main window, in front of the player.
    run.hwnd = owner_;
    run.lpVerb = "runas";
    run.lpFile = program;
    run.lpParameters = parameters.c_str();
    run.nShow = SW_HIDE;
    if (!ShellExecuteExA(&run)) {
        const DWORD error = GetLastError();
        if (GrantOfStartFailure(error) == Grant::Failed) *reason = ErrorText(error, program);
        return GrantOfStartFailure(error);
    }
    const ScopedHandle helper(run.hProcess);
    if (!helper.valid()) {
        *reason = ErrorText(ERROR_INVALID_HANDLE, program);
        return Grant::Failed;
    }
    const DWORD exitCode = WaitForHelper(owner_, helper.get());
    if (exitCode == ERROR_SUCCESS) return Grant::Made;
    *reason = ErrorText(exitCode, program);
    return Grant::Failed;
}

}  // namespace kelvaro
