// Stands in for generals.exe in the test sandboxes. Each start appends one
// line to standin.log beside the program: the command line exactly as given,
// whether Data\INI\ and Data\xINIx\ exist, and the fingerprint of
// Data\Scripts\SkirmishScripts.scb ("missing" when absent), and the elevation
// type of its token ("limited", "full" or "default"). With a file
// standin.window beside it, it also shows that line in a small window and
// stays until the window is closed; otherwise it ends at once. When the
// environment names a file in KELVARO_STANDIN_COUNTER, it also appends to it
// the performance counter as the program started (the benchmark's clock: the
// counter is the same in every process) and its process's creation time, and
// signals the benchmark's event "KelvaroStandinCounterWritten".
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "fnv.h"

namespace {

// Read while the runtime starts the program, before WinMain.
const LONGLONG kStartCounter = [] {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}();

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ScriptFingerprint(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "missing";
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return kelvaro::e2e::Fingerprint(bytes);
}

// Whether the game runs at the player's limited rights or raised.
std::string Elevation() {
    HANDLE token = nullptr;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size);
        CloseHandle(token);
    }
    return type == TokenElevationTypeLimited ? "limited"
           : type == TokenElevationTypeFull  ? "full"
                                             : "default";
}

// When its process was created, in 100 ns since 1601 (the system time).
ULONGLONG CreationTime() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// One write with FILE_APPEND_DATA, so that two games started together never
// mix their lines.
void AppendLine(const std::string& path, const std::string& line) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ShowReport(HINSTANCE instance, const std::string& report) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "KelvaroStandinGame";
    RegisterClassA(&windowClass);
    // Top left, clear of the launcher's window in the middle of the screen.
    HWND window = CreateWindowA("KelvaroStandinGame", "Generals (stand-in)",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 10, 10, 500,
                                140, nullptr, nullptr, instance, nullptr);
    HWND text = CreateWindowA("STATIC", report.c_str(), WS_CHILD | WS_VISIBLE, 10, 10, 470, 90,
                              window, nullptr, instance, nullptr);
    SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::string folder = ProgramFolder();
    std::string commandLine = GetCommandLineA();
    bool ini = IsFolder(folder + "Data\\INI");
    bool hiddenIni = IsFolder(folder + "Data\\xINIx");
    std::string script = ScriptFingerprint(folder + "Data\\Scripts\\SkirmishScripts.scb");
    AppendLine(folder + "standin.log", commandLine + "\tINI=" + (ini ? "1" : "0") +
                                           "\txINIx=" + (hiddenIni ? "1" : "0") +
                                           "\tscb=" + script + "\ttoken=" + Elevation() + "\r\n");
    char counterLog[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("KELVARO_STANDIN_COUNTER", counterLog, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        AppendLine(counterLog,
                   std::to_string(kStartCounter) + " " + std::to_string(CreationTime()) + "\r\n");
        if (HANDLE written =
                OpenEventA(EVENT_MODIFY_STATE, FALSE, "KelvaroStandinCounterWritten")) {
            SetEvent(written);
            CloseHandle(written);
        }
    }

    if (GetFileAttributesA((folder + "standin.window").c_str()) != INVALID_FILE_ATTRIBUTES) {
        ShowReport(instance, "Generals would start now, with the command line\n" + commandLine +
                                 "\n\nData\\INI\\ " + (ini ? "present" : "absent") +
                                 ", Data\\xINIx\\ " + (hiddenIni ? "present" : "absent") +
                                 "\nSkirmishScripts.scb fingerprint: " + script);
    }
    return 0;
}
