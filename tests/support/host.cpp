#include "host.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>

namespace kelvaro::testing {

std::string UnixName(const std::string& path) {
    using UnixFileName = char*(CDECL*)(LPCWSTR);
    static const auto unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (unixFileName == nullptr) return std::string();
    const std::wstring wide(path.begin(), path.end());
    char* name = unixFileName(wide.c_str());
    std::string unix = name != nullptr ? name : "";
    HeapFree(GetProcessHeap(), 0, name);
    return unix;
}

namespace {

std::string Quoted(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument) quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

// A host program that Wine starts gives no handle to wait on, so the shell
// leaves the command's status and words in a file that is polled. Nor are
// the handles in its PROCESS_INFORMATION handles: Wine leaves there whatever
// its own stack held, values that may name any handle of this process (its
// cached registry keys among them); closing them would close that handle.
std::string RunOnHost(const std::string& command, const std::vector<std::string>& arguments) {
    static std::atomic<int> runs = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string status = std::string(temp) + "kelvaro-host-" +
                               std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs);
    const std::string unixStatus = UnixName(status);
    if (unixStatus.empty()) return "not under Wine: no " + command + " to run";
    std::string commandLine =
        "\"Z:\\bin\\sh\" -c " +
        Quoted("words=$(" + command + " \"$@\" 2>&1); echo \"$? $words\" > '" + unixStatus +
               ".part' && mv '" + unixStatus + ".part' '" + unixStatus + "'") +
        " sh";
    for (const std::string& argument : arguments) commandLine += " " + Quoted(argument);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION shell = {};
    if (!CreateProcessA("Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &shell)) {
        return "cannot run /bin/sh, error " + std::to_string(GetLastError());
    }
    for (int waited = 0; waited < 10000; waited += 20) {
        std::ifstream answer(status);
        if (answer) {
            std::stringstream text;
            text << answer.rdbuf();
            answer.close();
            DeleteFileA(status.c_str());
            const std::string said = text.str();
            return said.starts_with("0 ") ? std::string() : command + ": " + said;
        }
        Sleep(20);
    }
    return command + " did not answer";
}

}  // namespace kelvaro::testing
