// Registered in the test prefix as the opener of http and https addresses:
// appends the address it was handed (its whole command line after the
// program name) as one line to the file named by the registration.
#include <windows.h>

#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Command line: "<recorder>" "<log file>" <address as the shell passes it>
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count < 3) return 1;
    std::wstring line = arguments[2];
    for (int i = 3; i < count; ++i) line += L" " + std::wstring(arguments[i]);
    line += L"\r\n";
    HANDLE file = CreateFileW(arguments[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::string bytes(line.begin(), line.end());
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
