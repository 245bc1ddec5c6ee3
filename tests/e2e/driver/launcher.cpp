#include "launcher.h"

#include <winternl.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "sandbox.h"

namespace kelvaro::e2e {

namespace {

constexpr char kBoxTitle[] = "Kelvaro Mod";
constexpr char kBoxClass[] = "#32770";
constexpr int kBoxTextId = 0xFFFF;
constexpr DWORD kSendMs = 5000;

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// Windows' own calling convention (stdcall on i686), which a lambda lacks.
BOOL CALLBACK AddWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// The top-level windows, or the children of `parent` at any depth.
std::vector<HWND> Windows(HWND parent = nullptr) {
    std::vector<HWND> windows;
    const auto list = reinterpret_cast<LPARAM>(&windows);
    parent ? EnumChildWindows(parent, AddWindow, list) : EnumWindows(AddWindow, list);
    return windows;
}

// Whether a window that shows is owned by `window`, as a message box is by
// the window it belongs to: the box's thread is the window's.
bool BoxInFront(HWND window) {
    std::vector<HWND> windows;
    EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), AddWindow,
                      reinterpret_cast<LPARAM>(&windows));
    return std::ranges::any_of(windows, [&](HWND other) {
        return GetWindow(other, GW_OWNER) == window && IsWindowVisible(other);
    });
}

// What `draw` paints on a square true-colour surface, as 0x00RRGGBB values.
template <class Draw>
std::vector<COLORREF> Drawn(int size, Draw draw) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    draw(dc);
    GdiFlush();
    const auto* first = static_cast<const COLORREF*>(bits);
    std::vector<COLORREF> pixels(first, first + size * size);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

// A system icon as a box's icon static draws it, over the box's background,
// at the static's size (32 pixels at 96 dpi, more on a scaled display).
std::vector<COLORREF> IconPixels(LPCSTR icon, COLORREF pixel, int size) {
    return Drawn(size, [&](HDC dc) {
        RECT all = {0, 0, size, size};
        HBRUSH background =
            CreateSolidBrush(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
        FillRect(dc, &all, background);
        DeleteObject(background);
        DrawIconEx(dc, 0, 0, LoadIconA(nullptr, icon), size, size, 0, nullptr, DI_NORMAL);
    });
}

long Distance(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    long sum = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            sum += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                            static_cast<int>((b[i] >> shift) & 0xFF));
        }
    }
    return sum;
}

// The icon that the box shows, told from its pixels on the screen: under Wine
// the box's icon handle belongs to the launcher's process and cannot be
// compared with LoadIcon's in ours. Empty until the box has painted it.
std::optional<BoxIcon> ReadIcon(HWND box) {
    HWND iconStatic = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        LONG style = GetWindowLongA(child, GWL_STYLE);
        if (ClassOf(child) == "Static" && (style & SS_TYPEMASK) == SS_ICON) iconStatic = child;
    }
    if (!iconStatic) return std::nullopt;
    RECT rect;
    GetWindowRect(iconStatic, &rect);
    const int size = std::max(1, static_cast<int>(rect.right - rect.left));
    std::vector<COLORREF> shown = Drawn(size, [&](HDC dc) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc, 0, 0, size, size, screen, rect.left, rect.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
    long hand = Distance(shown, IconPixels(IDI_HAND, shown[0], size));
    long exclamation = Distance(shown, IconPixels(IDI_EXCLAMATION, shown[0], size));
    // A close match to one icon and a clear difference from the other.
    const long close = static_cast<long>(size) * size * 3 * 4;
    if (hand < close && exclamation > 4 * hand) return BoxIcon::Critical;
    if (exclamation < close && hand > 4 * exclamation) return BoxIcon::Exclamation;
    return std::nullopt;
}

// A message to a window of another process, given up on when its thread hangs.
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendMs,
                               result ? result : &ignored) != 0;
}

// A primary token with the limited half of the driver's own split token.
HANDLE LimitedToken() {
    HANDLE own = nullptr;
    TOKEN_LINKED_TOKEN linked = {};
    DWORD size = 0;
    HANDLE limited = nullptr;
    const bool made = OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own) &&
                      GetTokenInformation(own, TokenLinkedToken, &linked, sizeof linked, &size) &&
                      DuplicateTokenEx(linked.LinkedToken, TOKEN_ALL_ACCESS, nullptr,
                                       SecurityImpersonation, TokenPrimary, &limited);
    const DWORD error = GetLastError();
    if (linked.LinkedToken != nullptr) CloseHandle(linked.LinkedToken);
    if (own != nullptr) CloseHandle(own);
    if (!made) throw std::runtime_error("no limited token, error " + std::to_string(error));
    return limited;
}

// The command line that a process was started with, read from its process
// parameters in its own memory; "?" where they cannot be read.
std::string CommandLineIn(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic = {};
    PEB peb = {};
    RTL_USER_PROCESS_PARAMETERS parameters = {};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic,
                                  nullptr) != 0 ||
        !ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
        peb.ProcessParameters == nullptr ||
        !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters,
                           nullptr)) {
        return "?";
    }
    std::wstring line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (!ReadProcessMemory(process, parameters.CommandLine.Buffer, line.data(),
                           parameters.CommandLine.Length, nullptr))
        return "?";
    // The sandbox's paths and a SID are plain ASCII.
    return std::string(line.begin(), line.end());
}

}  // namespace

void PrintTo(BoxIcon icon, std::ostream* out) {
    *out << (icon == BoxIcon::Critical ? "critical" : "exclamation");
}

std::string WindowText(HWND window) {
    char text[4096] = {};
    DWORD_PTR length = 0;
    if (!Send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), &length)) return {};
    return std::string(text, length);
}

HWND FindChild(HWND parent, const std::string& className, const std::string& text) {
    for (HWND child : Windows(parent)) {
        if ((className.empty() || ClassOf(child) == className) && WindowText(child) == text)
            return child;
    }
    return nullptr;
}

HWND ChildAt(HWND parent, int x, int y) {
    // The launcher lays its tables out at the display's scale.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    x = MulDiv(x, dpi, 96);
    y = MulDiv(y, dpi, 96);
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        if (rect.left == x && rect.top == y) return child;
    }
    return nullptr;
}

HWND Child(HWND parent, const std::string& className, const std::string& text) {
    HWND child = FindChild(parent, className, text);
    if (!child) {
        throw std::runtime_error("no control '" + text + "' (class " +
                                 (className.empty() ? "any" : className) + ") in '" +
                                 WindowText(parent) + "'");
    }
    return child;
}

// BM_CLICK reaches a disabled or hidden control too.
void Click(HWND button) {
    const HWND window = GetAncestor(button, GA_ROOT);
    const char* why = !IsWindowVisible(button)   ? "it does not show"
                      : !IsWindowEnabled(button) ? "it is disabled"
                      : !IsWindowEnabled(window) ? "its window is disabled"
                      : BoxInFront(window)       ? "a box is in front of its window"
                                                 : nullptr;
    if (why != nullptr)
        throw std::runtime_error("no player can press '" + WindowText(button) + "': " + why);
    PostMessageA(button, BM_CLICK, 0, 0);
}

void MouseClick(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    SetForegroundWindow(GetAncestor(control, GA_ROOT));
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

bool IsChecked(HWND option) {
    DWORD_PTR state = 0;
    return Send(option, BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

void TypeText(HWND edit, const std::string& text) {
    if (!Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())))
        throw std::runtime_error("typing '" + text + "' failed");
}

void PostClose(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
}

void PostSystemClose(HWND window) {
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void PostQuit(HWND window) {
    PostThreadMessageA(GetWindowThreadProcessId(window, nullptr), WM_QUIT, 0, 0);
}

void Settle(HWND window) {
    Send(window, WM_NULL, 0, 0);
}

Launcher::Launcher(const std::string& program, const std::string& currentFolder, Rights rights,
                   Programs programs) {
    // Wine starts its desktop process for the first program that needs the
    // desktop while none runs. Needed here first, it is the driver's child, and
    // not a program that the launcher started.
    GetDesktopWindow();
    job_ = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);

    const std::string path = WindowsPath(program);
    HANDLE token = rights == Rights::Limited ? LimitedToken() : nullptr;
    // Wine now and then fails to create a process (error 1359): three tries.
    DWORD error = ERROR_INTERNAL_ERROR;
    for (int tries = 0; error == ERROR_INTERNAL_ERROR && tries < 3; ++tries) {
        if (creator_.joinable()) creator_.join();
        std::promise<DWORD> created;
        std::future<DWORD> startError = created.get_future();
        creator_ = std::thread([&] { Create(path, currentFolder, token, programs, created); });
        error = startError.get();
    }
    if (token != nullptr) CloseHandle(token);
    std::string failure = error ? "cannot start " + path + ", error " + std::to_string(error) : "";
    if (!error && !AssignProcessToJobObject(job_, process_.hProcess)) {
        failure = "cannot put the launcher into a job, error " + std::to_string(GetLastError());
        TerminateProcess(process_.hProcess, 1);
    }
    if (!failure.empty()) {
        StopCreator();
        CloseHandle(job_);
        throw std::runtime_error(failure);
    }
    ResumeThread(process_.hThread);
}

Launcher::~Launcher() {
    TerminateJobObject(job_, 1);
    WaitForSingleObject(process_.hProcess, kWaitMs);
    StopCreator();
    CloseHandle(job_);
}

void Launcher::StopCreator() {
    ending_ = true;
    creator_.join();
    if (process_.hProcess == nullptr) return;
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool Launcher::Running() const {
    return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Launcher::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

bool Launcher::Ours(DWORD processId) const {
    if (processId == ProcessId()) return true;
    // Wine asks for the full query right to answer IsProcessInJob.
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    BOOL inJob = FALSE;
    if (process != nullptr) {
        IsProcessInJob(process, job_, &inJob);
        CloseHandle(process);
    }
    return inJob;
}

HWND Launcher::FindWindowNamed(const std::string& className, const std::string& caption) const {
    for (HWND window : Windows()) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (!IsWindowVisible(window)) continue;
        if (!className.empty() && ClassOf(window) != className) continue;
        char text[512] = {};
        GetWindowTextA(window, text, sizeof text);
        if (caption == text && Ours(owner)) return window;
    }
    return nullptr;
}

HWND Launcher::WaitWindow(const std::string& className, const std::string& caption,
                          DWORD timeoutMs) const {
    return WaitFor(
        "the window '" + caption + "'", [&] { return FindWindowNamed(className, caption); },
        timeoutMs);
}

// The first window comes after Wine has started the process: allow for a busy machine.
HWND Launcher::WaitMainWindow() const {
    return WaitWindow("", kMainCaption, 3 * kWaitMs);
}

HWND Launcher::WaitPathDialog() const {
    return WaitWindow("", kPathCaption, 3 * kWaitMs);
}

HWND Launcher::FindMessageBox() const {
    return FindWindowNamed(kBoxClass, kBoxTitle);
}

MessageBoxSeen Launcher::WaitMessageBox() const {
    MessageBoxSeen box;
    box.window = WaitFor(
        "a message box", [&] { return FindMessageBox(); }, 3 * kWaitMs);
    WaitFor("the message box's text", [&] {
        box.text = WindowText(GetDlgItem(box.window, kBoxTextId));
        return !box.text.empty();
    });
    // Known once painted; a box that shows neither of the two icons fails here.
    box.icon = *WaitFor("a critical or exclamation icon in the box '" + box.text + "'",
                        [&] { return ReadIcon(box.window); });
    return box;
}

void Launcher::Answer(const MessageBoxSeen& box, int button) const {
    Click(GetDlgItem(box.window, button));
    WaitFor("the message box '" + box.text + "' to close", [&] { return !IsWindow(box.window); });
}

JOBOBJECT_BASIC_ACCOUNTING_INFORMATION Launcher::Accounting() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &accounting,
                              sizeof accounting, nullptr);
    return accounting;
}

unsigned Launcher::ProgramsStarted() const {
    return Accounting().TotalProcesses - 1;
}

// The launcher's process is created suspended by a thread of its own, which
// debugs it and every program it starts (through Windows' prompt too) where
// they are watched: Windows reports each as created before it runs, and its
// command line is read then, however soon it ends. Every event is let go at
// once, exceptions to the program's own handlers.
void Launcher::Create(const std::string& path, const std::string& folder, HANDLE token,
                      Programs programs, std::promise<DWORD>& created) {
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    const bool watched = programs == Programs::Watched;
    const DWORD flags = CREATE_SUSPENDED | (watched ? DEBUG_PROCESS : 0);
    const BOOL started =
        token != nullptr
            ? CreateProcessAsUserA(token, path.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                   flags, nullptr, folder.c_str(), &startup, &process_)
            : CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags,
                             nullptr, folder.c_str(), &startup, &process_);
    // The arguments are the constructor's, gone once it has the answer.
    created.set_value(started ? ERROR_SUCCESS : GetLastError());
    while (started && watched && !ending_) {
        DEBUG_EVENT event = {};
        if (!WaitForDebugEvent(&event, 20)) continue;
        DWORD handled = DBG_CONTINUE;
        if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT) {
            if (event.dwProcessId != process_.dwProcessId) {
                const std::string line = CommandLineIn(event.u.CreateProcessInfo.hProcess);
                std::lock_guard lock(commandLinesGuard_);
                commandLines_.push_back(line);
            }
            if (event.u.CreateProcessInfo.hFile != nullptr)
                CloseHandle(event.u.CreateProcessInfo.hFile);
        } else if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT) {
            if (event.u.LoadDll.hFile != nullptr) CloseHandle(event.u.LoadDll.hFile);
        } else if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT) {
            handled = DBG_EXCEPTION_NOT_HANDLED;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, handled);
    }
}

std::vector<std::string> Launcher::CommandLines() const {
    std::lock_guard lock(commandLinesGuard_);
    return commandLines_;
}

void Launcher::WaitForPrograms() const {
    WaitFor("the programs started by the launcher to end",
            [&] { return Accounting().ActiveProcesses == (Running() ? 1u : 0u); });
}

void Launcher::EndSession(HWND mainWindow) const {
    Send(mainWindow, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    Send(mainWindow, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
}

void Launcher::WaitForExit(const std::string& forbiddenCaption) const {
    WaitFor("the launcher to end", [&] {
        if (!forbiddenCaption.empty() && FindWindowNamed("", forbiddenCaption)) {
            throw std::runtime_error("the window '" + forbiddenCaption + "' showed");
        }
        return !Running();
    });
}

void Launcher::Kill() {
    TerminateProcess(process_.hProcess, 1);
    WaitFor("the killed launcher to end", [&] { return !Running(); });
}

}  // namespace kelvaro::e2e
