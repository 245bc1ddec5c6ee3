// How much slower and bigger "Kelvaro Mod.exe" is than the least a Win32
// program does, and than the least the launcher must do, under the same Wine,
// one run of each in turn:
//
// - start to window visible: from just before the process is created to the
//   moment its main window is visible, against the bare window program and
//   against the floor (the bare window plus the platform calls the launcher
//   must make before its window shows);
// - "Start Generals" to game process: from just before the click is posted to
//   the stand-in game's own first counter reading, against the same stand-in
//   started directly with CreateProcessA, and against the click floor (the
//   floor's own "Start Generals" button, which does the launcher's required
//   checks and starts the game as it does); and its own part, to the game's
//   process created (the rest is Wine starting the game, which takes as long
//   whatever program started it, and varies most from run to run);
// - peak working set once the window is visible (for the launcher also after
//   a tier click), against the bare window and the floor;
// - the size of the exes;
// - where the launcher's start-up and its "Start Generals" go, phase by
//   phase, from a traced build of its own sources (bench/phase_trace.cpp),
//   run in turn with the others;
// - the same for the i686 build (the players' exe), when its folder is
//   given, each figure against the yardsticks of its own architecture.
//
//   bench.exe [--runs N] [--poll-ms MS] [--i686 BUILD_FOLDER]
//
// Prints a table of medians, ratios and goals. Nothing here is a test: the
// figures depend on the machine, and a missed goal is a finding to explain.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <sstream>
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
constexpr char kFloorClass[] = "KelvaroFloorWindow";
constexpr char kFloorCaption[] = "Floor window";
constexpr char kCounterVariable[] = "KELVARO_STANDIN_COUNTER";
constexpr char kCounterEvent[] = "KelvaroStandinCounterWritten";
constexpr char kTraceVariable[] = "KELVARO_TRACE_FILE";
constexpr char kLastPhase[] = "first paint";
constexpr char kLastClickPhase[] = "game process created";
constexpr double kTimeoutMs = 30000;
// The tier clicked for the second working-set figure: one whose archive is looked for.
constexpr int kClickedTier = 5;
constexpr int kPlainGameTier = 10;

struct Options {
    int runs = 15;
    DWORD pollMs = 1;
    std::string i686Build;  // the win32 preset's build folder; empty: none
};

// The launcher of one build and the yardsticks built beside it.
struct Programs {
    std::string launcher;
    std::string bare;
    std::string floor;
    std::string traced;
};

Programs X86_64Programs() {
    return {KELVARO_LAUNCHER, KELVARO_BARE_WINDOW, KELVARO_FLOOR_WINDOW, KELVARO_TRACED_LAUNCHER};
}

Programs I686Programs(const std::string& build) {
    return {build + "/Kelvaro Mod.exe", build + "/bench/bare_window.exe",
            build + "/bench/floor_window.exe", build + "/bench/traced_launcher.exe"};
}

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

// Polls until the window is visible and returns it with the counter at that
// moment. It is looked for by class and caption in the program's own process,
// and may exist hidden for a while before it shows.
std::pair<HWND, LONGLONG> WaitVisible(const Launcher& program, const char* className,
                                      const char* caption, LONGLONG start, DWORD pollMs) {
    HWND window = nullptr;
    for (;;) {
        for (HWND found = window ? nullptr : FindWindowExA(nullptr, nullptr, className, caption);
             found != nullptr; found = FindWindowExA(nullptr, found, className, caption)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if (owner == program.ProcessId()) window = found;
        }
        if (window != nullptr && IsWindowVisible(window)) return {window, Now()};
        if (Milliseconds(start, Now()) > kTimeoutMs) {
            Fail(std::string("the window '") + caption + "' did not show");
        }
        if (!program.Running()) Fail(std::string("the program of '") + caption + "' ended");
        if (pollMs > 0) Sleep(pollMs);
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

// Returns once the window's thread has handled everything queued to it, its
// first paint included.
void SettleWindow(HWND window) {
    e2e::Settle(window);
    Sleep(50);
    e2e::Settle(window);
}

void CloseAndWait(const Launcher& program, HWND window) {
    e2e::PostClose(window);
    program.WaitForExit();
}

// A moment on both of the benchmark's clocks: the counter, and the system time
// in which Windows gives a process's creation.
struct Moment {
    LONGLONG counter;
    ULONGLONG systemTime;  // 100 ns
};

Moment NowOnBothClocks() {
    FILETIME systemTime;
    GetSystemTimePreciseAsFileTime(&systemTime);
    return {Now(),
            (static_cast<ULONGLONG>(systemTime.dwHighDateTime) << 32) | systemTime.dwLowDateTime};
}

// The stand-in game's start in ms from a moment: its process created, and its
// first counter reading.
struct GameTimes {
    double created;
    double counted;
};

// The file in which the stand-in game writes its first counter reading: named
// in the environment that the launcher, and through it the game, inherits.
// The game signals the event once it has written it: waiting for the file by
// reading it every millisecond would load the Wine server that the game's
// own start needs.
class CounterLog {
  public:
    CounterLog()
        : path_(Sandbox::Root() + "standin-counter.log"),
          written_(CreateEventA(nullptr, FALSE, FALSE, kCounterEvent)) {
        if (written_ == nullptr) Fail("cannot create the event " + std::string(kCounterEvent));
        SetEnvironmentVariableA(kCounterVariable, path_.c_str());
    }
    ~CounterLog() {
        SetEnvironmentVariableA(kCounterVariable, nullptr);
        CloseHandle(written_);
    }
    CounterLog(const CounterLog&) = delete;
    CounterLog& operator=(const CounterLog&) = delete;

    void Clear() const {
        DeleteFileA(path_.c_str());
        ResetEvent(written_);
    }
    // For the one game started since Clear, from the moment `from`: when its
    // process was created, and when it first read the counter.
    GameTimes Wait(const Moment& from) const {
        if (WaitForSingleObject(written_, static_cast<DWORD>(kTimeoutMs)) != WAIT_OBJECT_0)
            Fail("the stand-in game did not start");
        std::istringstream line(e2e::ReadFileBytes(path_));
        LONGLONG counter = 0;
        ULONGLONG created = 0;
        if (!(line >> counter >> created)) Fail("the stand-in game wrote no counter");
        return {static_cast<double>(static_cast<LONGLONG>(created - from.systemTime)) / 1e4,
                Milliseconds(from.counter, counter)};
    }

  private:
    std::string path_;
    HANDLE written_;
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

struct Samples {
    std::vector<double> launcher;
    std::vector<double> bare;   // for the game's start: the game started directly
    std::vector<double> floor;  // for the game's start: the floor's own button
};

// The traced launcher's phases in the order they end, each with its
// durations in ms, the first from just before the process is created.
using Phases = std::vector<std::pair<std::string, std::vector<double>>>;

struct Figures {
    Samples visible;                          // ms
    Samples gameStart;                        // ms, to the game's first counter reading
    Samples gameCreated;                      // ms, to the game's process created
    Samples workingSet;                       // KiB, window visible
    std::vector<double> workingSetAfterTier;  // KiB, launcher only
    Phases phases;
    std::vector<double> tracedVisible;  // ms, the traced launcher's start to visible
    Phases clickPhases;                 // the traced launcher's "Start Generals", from the click

    void AddGameStart(const GameTimes& game, std::vector<double> Samples::*side) {
        (gameCreated.*side).push_back(game.created);
        (gameStart.*side).push_back(game.counted);
    }
};

class Bench {
  public:
    explicit Bench(const Options& options) : options_(options) {}

    // One run of the launcher: start to visible, working set, a tier click,
    // the working set again, back to tier 10, then "Start Generals" to the game.
    void RunLauncher(const Programs& programs, Figures& figures) const {
        std::optional<Launcher> started;
        LONGLONG start = Start(started, programs.launcher);
        const Launcher& launcher = *started;
        auto [window, shown] =
            WaitVisible(launcher, kMainClass, kMainCaption, start, options_.pollMs);
        figures.visible.launcher.push_back(Milliseconds(start, shown));

        SettleWindow(window);
        figures.workingSet.launcher.push_back(PeakWorkingSetKiB(launcher.ProcessId()));
        e2e::MainWindow main{window};
        SelectTier(main, kClickedTier);
        figures.workingSetAfterTier.push_back(PeakWorkingSetKiB(launcher.ProcessId()));
        SelectTier(main, kPlainGameTier);
        figures.AddGameStart(ClickStart(launcher, main), &Samples::launcher);
        CloseAndWait(launcher, window);
    }

    // One run of the bare window, then one direct start of the stand-in game.
    void RunBare(const Programs& programs, Figures& figures) const {
        RunYardstick(programs.bare, kBareClass, kBareCaption, figures.visible.bare,
                     figures.workingSet.bare);
        figures.AddGameStart(StartGameDirectly(), &Samples::bare);
    }

    // One run of the floor, its "Start Generals" pressed once it shows.
    void RunFloor(const Programs& programs, Figures& figures) const {
        RunYardstick(programs.floor, kFloorClass, kFloorCaption, figures.visible.floor,
                     figures.workingSet.floor, [&](const Launcher& floor, HWND window) {
                         figures.AddGameStart(ClickStart(floor, {window}), &Samples::floor);
                     });
    }

    // One run of the traced launcher: the counter at the end of each phase,
    // which it writes once its window is painted, then "Start Generals" for
    // tier 10, its phases written once the game's process is created, and the
    // game's own first counter reading.
    void RunTraced(const Programs& programs, Figures& figures) const {
        const std::string log = Sandbox::Root() + "phases.log";
        DeleteFileA(log.c_str());
        SetEnvironmentVariableA(kTraceVariable, log.c_str());
        std::optional<Launcher> started;
        LONGLONG start = Start(started, programs.traced);
        const Launcher& traced = *started;
        SetEnvironmentVariableA(kTraceVariable, nullptr);
        auto [window, shown] =
            WaitVisible(traced, kMainClass, kMainCaption, start, options_.pollMs);
        figures.tracedVisible.push_back(Milliseconds(start, shown));
        AddPhases(WaitForMarks(log, kLastPhase), start, "", figures.phases);
        SettleWindow(window);

        DeleteFileA(log.c_str());
        counter_.Clear();
        const Moment click = NowOnBothClocks();
        e2e::Click(e2e::MainWindow{window}.StartButton());
        const LONGLONG created = AddPhases(WaitForMarks(log, kLastClickPhase), click.counter,
                                           kLastPhase, figures.clickPhases);
        AddPhase(figures.clickPhases, "to the game's first counter",
                 counter_.Wait(click).counted - Milliseconds(click.counter, created));
        traced.WaitForPrograms();
        CloseAndWait(traced, window);
    }

  private:
    static std::string WaitForMarks(const std::string& log, const char* last) {
        std::string marks;
        e2e::WaitFor("the traced launcher's phases", [&] {
            marks = e2e::ReadFileBytes(log);
            return marks.find(last) != std::string::npos;
        });
        return marks;
    }

    static void AddPhase(Phases& phases, const std::string& phase, double ms) {
        auto found = std::find_if(phases.begin(), phases.end(),
                                  [&](const auto& known) { return known.first == phase; });
        if (found == phases.end()) found = phases.insert(found, {phase, {}});
        found->second.push_back(ms);
    }

    // Adds the marks that come after the mark `after` (all of them when it is
    // empty), the first counted from `from`; returns the last counter.
    static LONGLONG AddPhases(const std::string& marks, LONGLONG from, const std::string& after,
                              Phases& phases) {
        std::istringstream lines(marks);
        LONGLONG counter = 0, previous = from;
        bool counting = after.empty();
        for (std::string phase; lines >> counter && std::getline(lines >> std::ws, phase);) {
            // The traced launcher writes its file in text mode: CR LF.
            if (!phase.empty() && phase.back() == '\r') phase.pop_back();
            if (counting) {
                AddPhase(phases, phase, Milliseconds(previous, counter));
                previous = counter;
            }
            counting = counting || phase == after;
        }
        return previous;
    }

    // Starts a program and returns the counter just before it. Wine now and
    // then fails to create a process (error 1359, about once in a thousand
    // starts here): the start is tried again, and said so.
    static LONGLONG Start(std::optional<Launcher>& program, const std::string& path) {
        for (int attempt = 1;; ++attempt) {
            try {
                LONGLONG start = Now();
                program.emplace(path, Sandbox::WorkFolder());
                return start;
            } catch (const std::runtime_error& error) {
                if (attempt == 3) throw;
                std::printf("%s; starting it again\n", error.what());
            }
        }
    }

    template <class Shown = void (*)(const Launcher&, HWND)>
    void RunYardstick(
        const std::string& program, const char* className, const char* caption,
        std::vector<double>& visible, std::vector<double>& workingSet,
        Shown shown = [](const Launcher&, HWND) {}) const {
        std::optional<Launcher> started;
        LONGLONG start = Start(started, program);
        const Launcher& yardstick = *started;
        auto [window, visibleAt] =
            WaitVisible(yardstick, className, caption, start, options_.pollMs);
        visible.push_back(Milliseconds(start, visibleAt));
        SettleWindow(window);
        workingSet.push_back(PeakWorkingSetKiB(yardstick.ProcessId()));
        shown(yardstick, window);
        CloseAndWait(yardstick, window);
    }

    // "Start Generals" as the player presses it, from just before the click
    // is posted; returns once the game has ended.
    GameTimes ClickStart(const Launcher& program, const e2e::MainWindow& main) const {
        HWND startButton = main.StartButton();
        counter_.Clear();
        const Moment click = NowOnBothClocks();
        e2e::Click(startButton);
        const GameTimes game = counter_.Wait(click);
        program.WaitForPrograms();
        return game;
    }

    static void SelectTier(const e2e::MainWindow& main, int tier) {
        e2e::Click(main.Tech(tier));
        e2e::WaitFor("tier " + std::to_string(tier) + " selected",
                     [&] { return main.SelectedTier() == tier; });
        SettleWindow(main.window);
    }

    // The stand-in game, started the way the launcher starts it for tier 10.
    GameTimes StartGameDirectly() const {
        std::string program = Sandbox::GameFolder() + "generals.exe";
        std::string commandLine = "\"" + program + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION started = {};
        counter_.Clear();
        Moment start = NowOnBothClocks();
        // Tried again as Start tries its programs again.
        for (int attempt = 1; !CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr,
                                              FALSE, 0, nullptr, nullptr, &startup, &started);
             ++attempt) {
            const std::string error =
                "cannot start " + program + ", error " + std::to_string(GetLastError());
            if (attempt == 3) Fail(error);
            std::printf("%s; starting it again\n", error.c_str());
            start = NowOnBothClocks();
        }
        const GameTimes game = counter_.Wait(start);
        WaitForSingleObject(started.hProcess, static_cast<DWORD>(kTimeoutMs));
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
        return game;
    }

    Options options_;
    DesktopKeeper keeper_;
    Sandbox sandbox_{e2e::SandboxSetup{}, KELVARO_STANDIN_GAME};
    CounterLog counter_;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Each of `whole` less the same sample of `part`.
std::vector<double> Differences(const std::vector<double>& whole, const std::vector<double>& part) {
    std::vector<double> differences;
    for (size_t i = 0; i < whole.size() && i < part.size(); ++i)
        differences.push_back(whole[i] - part[i]);
    return differences;
}

std::optional<double> FileKiB(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() ||
        !GetFileAttributesExA(e2e::WindowsPath(path).c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    ULONGLONG bytes = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return static_cast<double>(bytes) / 1024.0;
}

std::string WineVersion() {
    using Version = const char*(CDECL*)();
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    FARPROC found = ntdll ? GetProcAddress(ntdll, "wine_get_version") : nullptr;
    if (found == nullptr) return "Windows";
    return std::string("Wine ") + reinterpret_cast<Version>(reinterpret_cast<void (*)()>(found))();
}

std::string Number(std::optional<double> value, int decimals) {
    if (!value) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, *value);
    return text;
}

// One line of the table. The goal, when there is one, is met when the ratio
// (or, for `absolute` goals, the launcher's own figure) is at most `limit`.
struct Row {
    const char* what;
    std::optional<double> launcher;
    std::optional<double> bare;
    int decimals;
    const char* goal = "";
    double limit = 0;
    bool absolute = false;
};

void PrintRow(const Row& row) {
    std::optional<double> ratio;
    if (row.launcher && row.bare && *row.bare > 0) ratio = *row.launcher / *row.bare;
    std::optional<double> checked = row.absolute ? row.launcher : ratio;
    const char* verdict = "";
    if (*row.goal) verdict = checked && *checked <= row.limit ? "met" : "missed";
    std::printf("| %-38s | %15s | %10s | %6s | %-11s | %-6s |\n", row.what,
                Number(row.launcher, row.decimals).c_str(), Number(row.bare, row.decimals).c_str(),
                Number(ratio, 2).c_str(), row.goal, verdict);
}

void PrintSpread(const char* what, const Samples& samples) {
    std::printf("%s:", what);
    const std::pair<const char*, const std::vector<double>*> sides[] = {
        {"launcher", &samples.launcher}, {"bare", &samples.bare}, {"floor", &samples.floor}};
    for (const auto& [side, values] : sides) {
        if (values->empty()) continue;
        auto [low, high] = std::minmax_element(values->begin(), values->end());
        std::printf(" %s %.1f - %.1f ms", side, *low, *high);
    }
    std::printf("\n");
}

// The machine the figures come from: figures from different machines are
// never compared.
void PrintMachine() {
    char cpu[256] = "unknown CPU";
    DWORD size = sizeof cpu;
    RegGetValueA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
                 "ProcessorNameString", RRF_RT_REG_SZ, nullptr, cpu, &size);
    SYSTEM_INFO system;
    GetNativeSystemInfo(&system);
    std::printf("\nmachine: %s, %lu cores, %s\n", cpu, system.dwNumberOfProcessors,
                WineVersion().c_str());
}

// Where the launcher's start-up goes: the medians of each phase of the traced
// build, from the mark before it to its own (the launcher's code between two
// marks counts to the later one).
void PrintPhaseTable(const Phases& phases) {
    std::printf("| %-28s | %8s | %8s |\n", "phase ends with", "phase", "total");
    std::printf("|%s|%s|%s|\n", std::string(30, '-').c_str(), std::string(10, '-').c_str(),
                std::string(10, '-').c_str());
    double total = 0;
    for (const auto& [phase, durations] : phases) {
        total += Median(durations);
        std::printf("| %-28s | %8.1f | %8.1f |\n", phase.c_str(), Median(durations), total);
    }
}

void PrintPhases(const Figures& figures, const char* build) {
    std::printf(
        "\n%s: the launcher's start-up by phase (traced build, medians, ms); start -> "
        "visible of the traced build %.1f ms\n\n",
        build, Median(figures.tracedVisible));
    PrintPhaseTable(figures.phases);
    std::printf(
        "\n%s: the launcher's \"Start Generals\" for tier 10 by phase (traced build, medians, "
        "ms), from just before the click is posted\n\n",
        build);
    PrintPhaseTable(figures.clickPhases);
}

// Start-up and the click, each against the bare window and against its floor.
void PrintStartAndClickRows(const Figures& figures, const char* start, const char* click) {
    PrintRow({start, Median(figures.visible.launcher), Median(figures.visible.bare), 1, "<= 1.15x",
              1.15});
    PrintRow({"  the same, against the floor (ms)", Median(figures.visible.launcher),
              Median(figures.visible.floor), 1, "<= 1.10x", 1.10});
    PrintRow({click, Median(figures.gameStart.launcher), Median(figures.gameStart.bare), 1});
    PrintRow({"  against the click floor (ms)", Median(figures.gameStart.launcher),
              Median(figures.gameStart.floor), 1});
    // The click's own part: from the click to the game's process created.
    // What follows is Wine starting the game, whatever program started it.
    PrintRow({"  to its process created, against it", Median(figures.gameCreated.launcher),
              Median(figures.gameCreated.floor), 1, "<= 1.10x", 1.10});
    PrintRow({"  then the game's own start (ms)",
              Median(Differences(figures.gameStart.launcher, figures.gameCreated.launcher)),
              Median(Differences(figures.gameStart.floor, figures.gameCreated.floor)), 1});
}

// The rows of the i686 build, each against its own architecture's yardsticks.
void PrintI686Rows(const Figures& figures, const Programs& programs) {
    PrintStartAndClickRows(figures, "i686: start -> window visible (ms)",
                           "i686: \"Start Generals\" -> game (ms)");
    PrintRow({"i686: peak working set, shown (KiB)", Median(figures.workingSet.launcher),
              Median(figures.workingSet.bare), 0, "<= 1.2x", 1.2});
    PrintRow({"exe size, i686 release (KiB)", FileKiB(programs.launcher), FileKiB(programs.bare), 1,
              "<= 200 KiB", 200, true});
}

void PrintTable(const Figures& figures, const std::optional<Figures>& i686,
                const Options& options) {
    PrintMachine();
    std::printf("%d runs of each, in turns, each program in each place; medians\n\n", options.runs);
    std::printf("| %-38s | %15s | %10s | %6s | %-11s | %-6s |\n", "", "Kelvaro Mod.exe",
                "yardstick", "ratio", "goal", "");
    std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(40, '-').c_str(), std::string(17, '-').c_str(),
                std::string(12, '-').c_str(), std::string(8, '-').c_str(),
                std::string(13, '-').c_str(), std::string(8, '-').c_str());
    PrintStartAndClickRows(figures, "start -> window visible (ms)",
                           "\"Start Generals\" -> game process (ms)");
    PrintRow({"peak working set, window shown (KiB)", Median(figures.workingSet.launcher),
              Median(figures.workingSet.bare), 0, "<= 1.2x", 1.2});
    PrintRow({"peak working set, after a tier (KiB)", Median(figures.workingSetAfterTier),
              Median(figures.workingSet.bare), 0, "<= 1.2x", 1.2});
    PrintRow({"  the same, against the floor (KiB)", Median(figures.workingSet.launcher),
              Median(figures.workingSet.floor), 0});
    PrintRow(
        {"exe size, x86_64 (KiB)", FileKiB(KELVARO_LAUNCHER), FileKiB(KELVARO_BARE_WINDOW), 1});
    if (i686) PrintI686Rows(*i686, I686Programs(options.i686Build));
    std::printf("\nspread (min - max)\n");
    PrintSpread("start -> window visible", figures.visible);
    PrintSpread("\"Start Generals\" -> game process", figures.gameStart);
    PrintSpread("\"Start Generals\" -> its process created", figures.gameCreated);
    if (i686) {
        PrintSpread("i686: start -> window visible", i686->visible);
        PrintSpread("i686: \"Start Generals\" -> game process", i686->gameStart);
        PrintSpread("i686: \"Start Generals\" -> its process created", i686->gameCreated);
    }
    PrintPhases(figures, "x86_64");
    if (i686) PrintPhases(*i686, "i686");
}

std::optional<Options> ReadOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--runs" && i + 1 < argc) {
            options.runs = std::atoi(argv[++i]);
            if (options.runs < 1) return std::nullopt;
        } else if (option == "--poll-ms" && i + 1 < argc) {
            int pollMs = std::atoi(argv[++i]);
            if (pollMs < 0) return std::nullopt;
            options.pollMs = static_cast<DWORD>(pollMs);
        } else if (option == "--i686" && i + 1 < argc) {
            options.i686Build = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    return options;
}

int Main(int argc, char** argv) {
    std::optional<Options> options = ReadOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr,
                     "usage: bench [--runs N (15)] [--poll-ms MS (1; 0 spins)] "
                     "[--i686 BUILD_FOLDER]\n");
        return 2;
    }
    Bench bench(*options);
    const Programs x86_64 = X86_64Programs();
    const bool withI686 = !options->i686Build.empty();
    const Programs i686 = I686Programs(options->i686Build);
    Figures figures;
    std::optional<Figures> figures32;
    if (withI686) figures32.emplace();
    // The programs of one round, the i686 ones after the others.
    std::vector<std::function<void(Figures&, Figures*)>> round = {
        [&](Figures& f, Figures*) { bench.RunLauncher(x86_64, f); },
        [&](Figures& f, Figures*) { bench.RunBare(x86_64, f); },
        [&](Figures& f, Figures*) { bench.RunFloor(x86_64, f); },
        [&](Figures& f, Figures*) { bench.RunTraced(x86_64, f); },
    };
    if (withI686) {
        round.push_back([&](Figures&, Figures* f) { bench.RunLauncher(i686, *f); });
        round.push_back([&](Figures&, Figures* f) { bench.RunBare(i686, *f); });
        round.push_back([&](Figures&, Figures* f) { bench.RunFloor(i686, *f); });
        round.push_back([&](Figures&, Figures* f) { bench.RunTraced(i686, *f); });
    }
    // One round first, not counted: it brings Wine's and the programs' files
    // into the caches for both sides alike.
    Figures warmUp, warmUp32;
    for (const auto& program : round) program(warmUp, &warmUp32);

    // Each program takes each place in the round in turn, so that none of
    // them always follows the same one.
    const size_t places = round.size();
    for (int run = 1; run <= options->runs; ++run) {
        for (size_t place = 0; place < places; ++place)
            round[(static_cast<size_t>(run) + place) % places](figures,
                                                               figures32 ? &*figures32 : nullptr);
        std::printf(
            "run %d/%d: start -> visible %.1f / %.1f / %.1f ms (launcher / bare / floor), "
            "\"Start Generals\" -> game %.1f / %.1f / %.1f ms (launcher / direct / floor)\n",
            run, options->runs, figures.visible.launcher.back(), figures.visible.bare.back(),
            figures.visible.floor.back(), figures.gameStart.launcher.back(),
            figures.gameStart.bare.back(), figures.gameStart.floor.back());
        if (figures32) {
            std::printf(
                "  i686: start -> visible %.1f / %.1f / %.1f ms, "
                "game %.1f / %.1f ms (launcher / floor)\n",
                figures32->visible.launcher.back(), figures32->visible.bare.back(),
                figures32->visible.floor.back(), figures32->gameStart.launcher.back(),
                figures32->gameStart.floor.back());
        }
        std::fflush(stdout);
    }
    PrintTable(figures, figures32, *options);
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
