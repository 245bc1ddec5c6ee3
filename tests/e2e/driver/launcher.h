// Drives the real launcher from outside, as a player would: starts
// "Kelvaro Mod.exe" in a job of its own (so that every game it starts ends
// with it) and, where asked, debugged (so that every program it starts is
// seen as it is created), finds its windows, reads them, clicks and types
// into them, and waits, always for a definite state and never longer than a
// few seconds.
// A wait that times out throws std::runtime_error naming what it waited for.
#pragma once

#include <windows.h>

#include <atomic>
#include <future>
#include <iosfwd>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace kelvaro::e2e {

inline constexpr DWORD kWaitMs = 10000;
inline constexpr char kMainCaption[] = "Kelvaro Mod - By Dravem";
inline constexpr char kPathCaption[] = "Enter the right path plus generals.exe...";

// Polls `probe` until it yields something true, or throws after `timeoutMs`.
template <class Probe>
auto WaitFor(const std::string& what, Probe probe, DWORD timeoutMs = kWaitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        auto value = probe();
        if (value) return value;
        if (GetTickCount() - start > timeoutMs) {
            throw std::runtime_error("timed out after " + std::to_string(timeoutMs) +
                                     " ms waiting for " + what);
        }
        Sleep(20);
    }
}

enum class BoxIcon { Critical, Exclamation };
void PrintTo(BoxIcon icon, std::ostream* out);  // for test messages

struct MessageBoxSeen {
    HWND window = nullptr;
    std::string text;
    BoxIcon icon = BoxIcon::Critical;
};

// Window texts and controls of any process.
std::string WindowText(HWND window);
// The first child (any depth) of that class (empty: any) and exact text, or null.
HWND FindChild(HWND parent, const std::string& className, const std::string& text);
// The child whose top-left corner sits at (x, y) of the parent's client area, given in
// pixels at 96 dpi and scaled to the display's DPI, or null.
HWND ChildAt(HWND parent, int x, int y);
HWND Child(HWND parent, const std::string& className, const std::string& text);  // throws

// BM_CLICK, posted where a player could press: throws for a control that does
// not show or is disabled, or whose window is disabled or behind a box.
void Click(HWND button);
void MouseClick(HWND control);                      // a real left click at its centre
bool IsChecked(HWND option);                        // BM_GETCHECK
void TypeText(HWND edit, const std::string& text);  // WM_SETTEXT
void PostClose(HWND window);                        // WM_CLOSE
void PostSystemClose(HWND window);                  // WM_SYSCOMMAND SC_CLOSE
void PostQuit(HWND window);                         // WM_QUIT to the window's thread

// Returns once `window`'s thread has handled everything it was doing: a
// message sent to it is handled only when its thread next looks at its queue.
void Settle(HWND window);

// The rights a program is started with: the driver's own (under Wine, an
// elevated administrator's), or the limited half of its split token, as an
// administrator's ordinary session on Windows has them.
enum class Rights { Own, Limited };

// The programs that the launcher starts: counted by its job, or also watched
// from their creation by debugging them all, which slows every start a little.
enum class Programs { Counted, Watched };

class Launcher {
  public:
    // Starts the program (a Unix or Windows path) with `currentFolder` as its
    // current folder.
    Launcher(const std::string& program, const std::string& currentFolder,
             Rights rights = Rights::Own, Programs programs = Programs::Counted);
    ~Launcher();
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    DWORD ProcessId() const { return process_.dwProcessId; }
    bool Running() const;
    DWORD ExitCode() const;  // STILL_ACTIVE while it runs

    // A visible top-level window of the launcher, or of a launcher that it
    // started again, with that caption (any class when `className` is
    // empty), or null.
    HWND FindWindowNamed(const std::string& className, const std::string& caption) const;
    HWND WaitWindow(const std::string& className, const std::string& caption,
                    DWORD timeoutMs = kWaitMs) const;
    HWND WaitMainWindow() const;
    HWND WaitPathDialog() const;

    // The launcher's message boxes: class "#32770" titled "Kelvaro Mod".
    HWND FindMessageBox() const;
    MessageBoxSeen WaitMessageBox() const;
    // Presses OK (or another of the box's buttons) and waits until the box is gone.
    void Answer(const MessageBoxSeen& box, int button = IDOK) const;

    // Games and other programs that the launcher started, ended or not.
    unsigned ProgramsStarted() const;
    // Their command lines, as each was started, where they are watched.
    std::vector<std::string> CommandLines() const;
    // Waits until every program that the launcher started has ended.
    void WaitForPrograms() const;

    // Log-off: WM_QUERYENDSESSION, then WM_ENDSESSION with TRUE.
    void EndSession(HWND mainWindow) const;

    // Waits for the launcher's own process to end; fails when a visible
    // window with `forbiddenCaption` showed meanwhile.
    void WaitForExit(const std::string& forbiddenCaption = "") const;
    void Kill();

  private:
    bool Ours(DWORD processId) const;
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION Accounting() const;

    // The thread that creates the launcher's process and tells `created` the
    // error; where the programs are watched, it debugs them until ending_.
    void Create(const std::string& path, const std::string& folder, HANDLE token, Programs programs,
                std::promise<DWORD>& created);
    void StopCreator();

    PROCESS_INFORMATION process_ = {};
    HANDLE job_ = nullptr;
    std::thread creator_;
    std::atomic<bool> ending_ = false;
    mutable std::mutex commandLinesGuard_;
    std::vector<std::string> commandLines_;
};

}  // namespace kelvaro::e2e

namespace kelvaro::e2e {

// The main window's controls, found by their captions, and Label1 by its place.
struct MainWindow {
    HWND window = nullptr;

    HWND Tech(int tier) const {
        return Child(window, "Button", "Tech level " + std::to_string(tier));
    }
    HWND StartButton() const { return Child(window, "Button", "Start Generals"); }
    HWND QuitButton() const { return Child(window, "Button", "Quit"); }
    HWND Link() const { return Child(window, "", "Visit Website"); }
    std::string Description() const { return WindowText(ChildAt(window, 152, 80)); }
    // The checked tier option, 0 when none is.
    int SelectedTier() const {
        for (int tier = 1; tier <= 10; ++tier) {
            if (IsChecked(Tech(tier))) return tier;
        }
        return 0;
    }
};

// The game location dialog's controls.
struct PathDialog {
    HWND window = nullptr;

    HWND Text1() const { return ChildAt(window, 88, 16); }
    HWND OkButton() const { return Child(window, "Button", "Ok"); }
    HWND QuitButton() const { return Child(window, "Button", "Quit"); }
};

}  // namespace kelvaro::e2e
