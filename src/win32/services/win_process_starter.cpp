#include "win_process_starter.h"

#include <vector>

#include "error_text.h"
#include "scoped.h"

namespace kelvaro {

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
    const ScopedHandle thread(started.hThread), process(started.hProcess);
    return true;
}

}  // namespace kelvaro
