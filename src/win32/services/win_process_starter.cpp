#include "win_process_starter.h"

#include <vector>

namespace kelvaro {

namespace {

// The system's text for an error code, without the line end it comes with
// and with the program in the place of "%1".
std::string ErrorText(DWORD error, const std::string& program) {
    char* text = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string reason;
    if (length != 0 && text != nullptr) reason.assign(text, length);
    LocalFree(text);
    while (!reason.empty() &&
           (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' ')) {
        reason.pop_back();
    }
    if (reason.empty()) reason = "Error " + std::to_string(error);
    for (size_t at = reason.find("%1"); at != std::string::npos;
         at = reason.find("%1", at + program.size())) {
        reason.replace(at, 2, program);
    }
    return reason;
}

}  // namespace

bool WinProcessStarter::Start(const std::string& application, const std::string& commandLine,
                              std::string* reason) {
    // CreateProcessA may write into the command line, so it gets a copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(application.empty() ? nullptr : application.c_str(), line.data(), nullptr,
                        nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        *reason = ErrorText(GetLastError(), application);
        return false;
    }
    // The game runs on its own: nothing waits for it or holds on to it.
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

}  // namespace kelvaro
