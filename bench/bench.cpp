// How much slower and bigger "Kelvaro Mod.exe" is than the least a Win32
// program does, measured under the same Wine, one run of each in turn:
//
// - start to window visible: from just before the process is created to the
//   moment its main window is visible, against the bare window program;
// - "Start Generals" to game process: from just before the click is posted to
//   the stand-in game's own first counter reading, against the same stand-in
//   started directly by CreateProcessA;
// - peak working set once the window is visible (and for the launcher, after
//   a tier click), against the bare window;
// - the size of the exes.
//
//   bench.exe [--runs N] [--i686 LAUNCHER BARE_WINDOW]
//
// Prints a table of medians, ratios and goals. Nothing here is a test: the
// figures depend on the machine, and a missed goal is a finding, not a failure.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "launcher.h"
#include "sandbox.h"

namespace kelvaro::bench {

using e2e::Launcher;
using e2e::Sandbox;

constexpr char kMainClass[] = "KelvaroMainFrm";
constexpr char kMainCaption[] = "Kelvaro Mod - By Dravem";
constexpr char kBareClass[] = "KelvaroBareWindow";
constexpr char kBareCaption[] = "Bare window";
constexpr char kCounterVariable[] = "KELVARO_STANDIN_COUNTER";
constexpr double kTimeoutMs = 30000;

// The tier clicked for the second working-set figure: one with an archive to look for.
constexpr int kClickedTier = 5;
constexpr int kPlainGameTier = 10;

LONGLONG Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Milliseconds(LONGLONG from, LONGLONG to) {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value.QuadPart;
    }();
    return 1000.0 * static_cast<double>(to - from) / static_cast<double>(frequency);
}

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what);
}

struct Samples {
    std::vector<double> launcher;
    std::vector<double> bare;
};

struct Figures {
    Samples visible;                          // ms
    Samples gameStart;                        // ms
    Samples workingSet;                       // KiB, window visible
    std::vector<double> workingSetAfterTier;  // KiB, launcher only
};

// Polls without sleeping until the window is visible and returns the counter
// at that moment. The window is looked for by class and caption in the
// program's own process; it may exist hidden for a while before it shows.
std::pair<HWND, LONGLONG> WaitVisible(const Launcher& program, const char* className,
                                      const char* caption, LONGLONG start) {
    HWND window = nullptr;
    for (;;) {
        if (window == nullptr) {
            for (HWND found = FindWindowExA(nullptr, nullptr, className, caption); found != nullptr;
                 found = FindWindowExA(nullptr, found, className, caption)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(found, &owner);
                if (owner == program.ProcessId()) window = found;
            }
        }
        if (window != nullptr && IsWindowVisible(window)) return {window, Now()};
        if (Milliseconds(start, Now()) > kTimeoutMs) {
            Fail(std::string("the window '") + caption + "' did not show");
        }
        if (!program.Running()) Fail(std::string("the program of '") + caption + "' ended");
    }
}

double PeakWorkingSetKiB(DWORD processId) {
    HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) Fail("cannot open process " + std::to_string(processId));
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    BOOL read = GetProcessMemoryInfo(process, &counters, sizeof counters);
    CloseHandle(process);
    if (!read) Fail("GetProcessMemoryInfo failed, error " + std::to_string(GetLastError()));
    return static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
}

// The stand-in game writes its first counter reading into this file.
class CounterLog {
  public:
    CounterLog() : path_(Sandbox::Root() + "standin-counter.log") {
        SetEnvironmentVariableA(kCounterVariable, path_.c_str());
    }
    ~CounterLog() { SetEnvironmentVariableA(kCounterVariable, nullptr); }
    CounterLog(const CounterLog&) = delete;
    CounterLog& operator=(const CounterLog&) = delete;

    void Clear() const { DeleteFileA(path_.c_str()); }
    // The counter of the one game started since Clear; its absence is the
    // game not started yet.
    LONGLONG Wait() const {
        LONGLONG start = Now();
        for (;;) {
            std::string bytes = e2e::ReadFileBytes(path_);
            if (!bytes.empty() && bytes.back() == '\n') return std::stoll(bytes);
            if (Milliseconds(start, Now()) > kTimeoutMs) Fail("the stand-in game did not start");
            Sleep(1);
        }
    }

  private:
    std::string path_;
};

// Wine's desktop program starts with the first window and ends a while after
// the last one. A hidden window of ours, on a thread that answers its
// messages, keeps it running: neither side pays for its start, and it is
// never counted among the launcher's programs.
class DesktopKeeper {
  public:
    DesktopKeeper() {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
        if (thread_ == nullptr) Fail("cannot start the desktop keeper");
        WaitForSingleObject(ready_, INFINITE);
        if (window_ == nullptr) Fail("cannot create the desktop keeper's window");
    }
    ~DesktopKeeper() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(ready_);
    }
    DesktopKeeper(const DesktopKeeper&) = delete;
    DesktopKeeper& operator=(const DesktopKeeper&) = delete;

  private:
    static DWORD WINAPI Run(void* context) {
        auto* self = static_cast<DesktopKeeper*>(context);
        self->window_ = CreateWindowA("STATIC", "bench", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        SetEvent(self->ready_);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
        if (self->window_ != nullptr) DestroyWindow(self->window_);
        return 0;
    }

    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
};

// The window's thread has handled everything queued to it, paint included.
void SettleWindow(HWND window) {
    e2e::Settle(window);
    Sleep(50);
    e2e::Settle(window);
}

void CloseAndWait(const Launcher& program, HWND window) {
    e2e::PostClose(window);
    program.WaitForExit();
}

// One run of the launcher: start to visible, working set, a tier click, the
// working set again, back to tier 10, then "Start Generals" to the game.
void RunLauncher(Figures& figures, const CounterLog& counter) {
    LONGLONG start = Now();
    Launcher launcher(KELVARO_LAUNCHER, Sandbox::WorkFolder());
    auto [window, shown] = WaitVisible(launcher, kMainClass, kMainCaption, start);
    figures.visible.launcher.push_back(Milliseconds(start, shown));

    SettleWindow(window);
    figures.workingSet.launcher.push_back(PeakWorkingSetKiB(launcher.ProcessId()));

    e2e::MainWindow main{window};
    e2e::Click(main.Tech(kClickedTier));
    e2e::WaitFor("tier " + std::to_string(kClickedTier) + " selected",
                 [&] { return main.SelectedTier() == kClickedTier; });
    SettleWindow(window);
    figures.workingSetAfterTier.push_back(PeakWorkingSetKiB(launcher.ProcessId()));
    e2e::Click(main.Tech(kPlainGameTier));
    e2e::WaitFor("tier 10 selected", [&] { return main.SelectedTier() == kPlainGameTier; });
    SettleWindow(window);

    HWND startButton = main.StartButton();
    counter.Clear();
    LONGLONG click = Now();
    e2e::Click(startButton);
    figures.gameStart.launcher.push_back(Milliseconds(click, counter.Wait()));
    launcher.WaitForPrograms();

    CloseAndWait(launcher, window);
}

// The same stand-in game, started as the launcher starts it, but directly.
double StartGameDirectly(const CounterLog& counter) {
    std::string program = Sandbox::GameFolder() + "generals.exe";
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started = {};
    counter.Clear();
    LONGLONG start = Now();
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
        Fail("cannot start " + program + ", error " + std::to_string(GetLastError()));
    }
    double elapsed = Milliseconds(start, counter.Wait());
    WaitForSingleObject(started.hProcess, static_cast<DWORD>(kTimeoutMs));
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return elapsed;
}

// One run of the bare window, then one direct start of the stand-in game.
void RunBare(Figures& figures, const CounterLog& counter) {
    {
        LONGLONG start = Now();
        Launcher bare(KELVARO_BARE_WINDOW, Sandbox::WorkFolder());
        auto [window, shown] = WaitVisible(bare, kBareClass, kBareCaption, start);
        figures.visible.bare.push_back(Milliseconds(start, shown));
        SettleWindow(window);
        figures.workingSet.bare.push_back(PeakWorkingSetKiB(bare.ProcessId()));
        CloseAndWait(bare, window);
    }
    figures.gameStart.bare.push_back(StartGameDirectly(counter));
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::optional<double> FileKiB(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(e2e::WindowsPath(path).c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    return static_cast<double>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) |
                               data.nFileSizeLow) /
           1024.0;
}

std::string WineVersion() {
    using Version = const char*(CDECL*)();
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    FARPROC found = ntdll ? GetProcAddress(ntdll, "wine_get_version") : nullptr;
    if (found == nullptr) return "Windows";
    return std::string("Wine ") + reinterpret_cast<Version>(reinterpret_cast<void (*)()>(found))();
}

// One line of the table; a goal is met when the checked figure is at most it.
struct Row {
    std::string what;
    std::optional<double> launcher;
    std::optional<double> bare;
    std::string goal;
    std::function<bool()> met;
};

std::string Number(std::optional<double> value, int decimals) {
    if (!value) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, *value);
    return text;
}

void PrintRow(const Row& row, int decimals) {
    std::optional<double> ratio;
    if (row.launcher && row.bare && *row.bare > 0) ratio = *row.launcher / *row.bare;
    std::string verdict = row.met ? (row.met() ? "met" : "MISSED") : "";
    std::printf("| %-38s | %15s | %10s | %6s | %-10s | %-6s |\n", row.what.c_str(),
                Number(row.launcher, decimals).c_str(), Number(row.bare, decimals).c_str(),
                Number(ratio, 2).c_str(), row.goal.c_str(), verdict.c_str());
}

void PrintTable(const Figures& figures, int runs, const std::string& i686Launcher,
                const std::string& i686Bare) {
    double visibleRatio = Median(figures.visible.launcher) / Median(figures.visible.bare);
    double gameRatio = Median(figures.gameStart.launcher) / Median(figures.gameStart.bare);
    double memoryRatio = Median(figures.workingSetAfterTier) / Median(figures.workingSet.bare);
    std::optional<double> i686Size = i686Launcher.empty() ? std::nullopt : FileKiB(i686Launcher);

    std::printf("%s, %d runs of each, alternating; medians\n\n", WineVersion().c_str(), runs);
    std::printf("| %-38s | %15s | %10s | %6s | %-10s | %-6s |\n", "", "Kelvaro Mod.exe", "bare",
                "ratio", "goal", "");
    std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(40, '-').c_str(), std::string(17, '-').c_str(),
                std::string(12, '-').c_str(), std::string(8, '-').c_str(),
                std::string(12, '-').c_str(), std::string(8, '-').c_str());
    PrintRow({"start -> window visible (ms)", Median(figures.visible.launcher),
              Median(figures.visible.bare), "<= 1.15x", [=] { return visibleRatio <= 1.15; }},
             1);
    PrintRow({"\"Start Generals\" -> game process (ms)", Median(figures.gameStart.launcher),
              Median(figures.gameStart.bare), "<= 1.1x", [=] { return gameRatio <= 1.1; }},
             1);
    PrintRow({"peak working set, window shown (KiB)", Median(figures.workingSet.launcher),
              Median(figures.workingSet.bare), "", nullptr},
             0);
    PrintRow({"peak working set, after a tier (KiB)", Median(figures.workingSetAfterTier),
              Median(figures.workingSet.bare), "<= 1.2x", [=] { return memoryRatio <= 1.2; }},
             0);
    PrintRow({"exe size, x86_64 (KiB)", FileKiB(KELVARO_LAUNCHER), FileKiB(KELVARO_BARE_WINDOW), "",
              nullptr},
             1);
    if (!i686Launcher.empty()) {
        PrintRow({"exe size, i686 (KiB)", i686Size, FileKiB(i686Bare), "<= 200 KiB",
                  [=] { return i686Size && *i686Size <= 200; }},
                 1);
    }

    std::printf(
        "\nspread (min - max, ms): start -> visible %.1f - %.1f against %.1f - %.1f; "
        "\"Start Generals\" -> game %.1f - %.1f against %.1f - %.1f\n",
        *std::min_element(figures.visible.launcher.begin(), figures.visible.launcher.end()),
        *std::max_element(figures.visible.launcher.begin(), figures.visible.launcher.end()),
        *std::min_element(figures.visible.bare.begin(), figures.visible.bare.end()),
        *std::max_element(figures.visible.bare.begin(), figures.visible.bare.end()),
        *std::min_element(figures.gameStart.launcher.begin(), figures.gameStart.launcher.end()),
        *std::max_element(figures.gameStart.launcher.begin(), figures.gameStart.launcher.end()),
        *std::min_element(figures.gameStart.bare.begin(), figures.gameStart.bare.end()),
        *std::max_element(figures.gameStart.bare.begin(), figures.gameStart.bare.end()));
}

int Main(int argc, char** argv) {
    int runs = 15;
    std::string i686Launcher;
    std::string i686Bare;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--runs" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else if (option == "--i686" && i + 2 < argc) {
            i686Launcher = argv[++i];
            i686Bare = argv[++i];
        } else {
            std::fprintf(stderr, "usage: bench [--runs N] [--i686 LAUNCHER BARE_WINDOW]\n");
            return 2;
        }
    }
    if (runs < 1) {
        std::fprintf(stderr, "bench: --runs needs a positive number\n");
        return 2;
    }

    DesktopKeeper keeper;
    Sandbox sandbox(e2e::SandboxSetup{}, KELVARO_STANDIN_GAME);
    CounterLog counter;
    // One round first, not counted: it loads Wine's and the programs' files
    // into the caches for both sides alike.
    Figures warmUp;
    RunLauncher(warmUp, counter);
    RunBare(warmUp, counter);

    Figures figures;
    for (int run = 1; run <= runs; ++run) {
        RunLauncher(figures, counter);
        RunBare(figures, counter);
        std::printf(
            "run %d/%d: start -> visible %.1f / %.1f ms, \"Start Generals\" -> game "
            "%.1f / %.1f ms\n",
            run, runs, figures.visible.launcher.back(), figures.visible.bare.back(),
            figures.gameStart.launcher.back(), figures.gameStart.bare.back());
        std::fflush(stdout);
    }
    std::printf("\n");
    PrintTable(figures, runs, i686Launcher, i686Bare);
    return 0;
}

}  // namespace kelvaro::bench

int main(int argc, char** argv) {
    try {
        return kelvaro::bench::Main(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench: %s\n", error.what());
        return 1;
    }
}
