// The two windows created for real, with fakes behind the launcher's logic:
// every control where the player expects it, the window frames, the events
// that reach the logic and those that must not, the link's pointer, and the
// dialog as start-up shows it.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "com_apartment.h"
#include "fakes.h"
#include "layout.h"
#include "link_cursor.h"
#include "main_window.h"
#include "memory_registry.h"
#include "pub_var.h"

namespace kelvaro::testing {
namespace {

constexpr char kTier3[] =
    "Everything from Tech level 2 plus the basic defense buildings are available.";
constexpr char kTier10[] = "Normal Generals, no build or train restrictions.";
constexpr char kNotLocated[] =
    "Kelvaro Mod was unable to locate the C&C Generals directory, make sure Generals is "
    "installed correctly!";

// A machine without the game: every look-up misses and every change fails.
class NoGame : public FileSystem {
  public:
    Entry Lookup(const std::string&) override { return Entry::Missing; }
    bool Rename(const std::string&, const std::string&) override { return false; }
    bool Delete(const std::string&) override { return false; }
    bool Copy(const std::string&, const std::string&) override { return false; }
};

class TestMainWindow : public MainWindow {
  public:
    using MainWindow::MainWindow;
    void EndProcess() override { ++ends; }
    int ends = 0;
};

std::string Text(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct Control {
    const char* className;
    std::string text;
    DWORD mask;  // the style bits that matter
    DWORD style;
    std::array<long, 4> box;  // left, top, width, height in the client area
};

constexpr DWORD kButton = BS_TYPEMASK | WS_TABSTOP;  // a push button, never the default one
constexpr DWORD kLabel = SS_TYPEMASK | SS_NOTIFY | WS_TABSTOP;
constexpr DWORD kOption = BS_TYPEMASK | WS_GROUP | WS_TABSTOP;

std::vector<Control> MainFrmControls() {
    std::vector<Control> rows = {
        {"Static", "", SS_TYPEMASK, SS_OWNERDRAW, {0, 0, 361, 40}},
        {"Button", "Quit", kButton, WS_TABSTOP, {168, 248, 89, 25}},
        {"Button", "Start Generals", kButton, WS_TABSTOP, {264, 248, 89, 25}},
    };
    const long tops[] = {216, 200, 184, 168, 152, 136, 120, 104, 88, 72};
    for (int n = 1; n <= 10; ++n) {
        // One group; the selected tier 10 holds its tab stop.
        DWORD style = BS_AUTORADIOBUTTON | (n == 1 ? WS_GROUP : 0) | (n == 10 ? WS_TABSTOP : 0);
        rows.push_back({"Button",
                        "Tech level " + std::to_string(n),
                        kOption,
                        style,
                        {16, tops[n - 1], 89, 13}});
    }
    rows.push_back({"Static", "Description:", kLabel, SS_LEFT, {144, 48, 57, 17}});
    rows.push_back({"Static", kTier10, kLabel, SS_LEFT, {152, 80, 201, 145}});
    rows.push_back({"Static", "Select a Tech level:", kLabel, SS_LEFT, {8, 48, 97, 17}});
    rows.push_back({"Static", "Visit Website", kLabel, SS_LEFT | SS_NOTIFY, {8, 260, 65, 13}});
    return rows;
}

const std::vector<Control> kPathFrmControls = {
    {"Edit",
     "",
     ES_MULTILINE | ES_AUTOHSCROLL | WS_TABSTOP,
     ES_AUTOHSCROLL | WS_TABSTOP,
     {88, 16, 257, 19}},
    {"Static", "Generals path:", kLabel, SS_LEFT, {8, 18, 73, 17}},
    {"Button", "Ok", kButton, WS_TABSTOP, {296, 40, 81, 25}},
    {"Button", "Quit", kButton, WS_TABSTOP, {208, 40, 81, 25}},
    {"Button", "...", kButton, WS_TABSTOP, {352, 16, 25, 17}},
};

// The window's frame, and its children in z-order, which is the tab order.
void ExpectWindow(HWND window, const char* caption, long width, long height, DWORD present,
                  DWORD absent, const std::vector<Control>& controls) {
    EXPECT_EQ(Text(window), caption);
    RECT client, frame, screen;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, width) << caption;
    EXPECT_EQ(client.bottom, height) << caption;
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (present | absent), present) << caption;
    GetWindowRect(window, &frame);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    EXPECT_NEAR(frame.left + frame.right, screen.left + screen.right, 1) << caption;
    EXPECT_NEAR(frame.top + frame.bottom, screen.top + screen.bottom, 1) << caption;

    HWND control = GetWindow(window, GW_CHILD);
    for (size_t tab = 0; tab < controls.size(); ++tab, control = GetWindow(control, GW_HWNDNEXT)) {
        const Control& row = controls[tab];
        ASSERT_NE(control, nullptr) << "tab " << tab;
        char className[64] = {};
        GetClassNameA(control, className, sizeof className);
        EXPECT_STRCASEEQ(className, row.className) << "tab " << tab;
        EXPECT_EQ(Text(control), row.text) << "tab " << tab;
        EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & row.mask, row.style) << "tab " << tab;
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ((std::array<long, 4>{r.left, r.top, r.right - r.left, r.bottom - r.top}), row.box)
            << "tab " << tab << ", " << row.text;
    }
    EXPECT_EQ(control, nullptr) << caption << " has more controls";
}

class Windows : public ::testing::Test {
  protected:
    const ComApartment com;  // as the launcher has it for its whole life

    void SetUp() override {
        PubVar::GameFolder.clear();
        shell.documents = "C:\\Docs";
    }
    void InstallGame() {
        registry.SetString(0x80000002, "SOFTWARE\\Electronic Arts\\EA Games\\Generals",
                           "InstallPath", "C:\\Games\\Generals\\");
    }
    void OpenMain() {
        window = std::make_unique<TestMainWindow>(
            GetModuleHandleA(nullptr), Services{files, registry, shell, processes, messages},
            [this](HWND owner) {
                owners.push_back(owner);
                ownerTicks.push_back(GetTickCount64());
            });
        EXPECT_TRUE(window->Open(SW_SHOWNORMAL));
    }
    HWND Child(int id) const { return GetDlgItem(window->Hwnd(), id); }

    Journal journal;
    NoGame files;
    MemoryRegistry registry;
    FakeShell shell{journal};
    FakeProcessStarter processes{journal};
    FakeMessageBox messages{journal};
    std::vector<HWND> owners;
    std::vector<ULONGLONG> ownerTicks;  // when each owner was set
    std::unique_ptr<TestMainWindow> window;
};

TEST_F(Windows, MainFrmAfterStartUp) {
    InstallGame();
    OpenMain();
    ExpectWindow(window->Hwnd(), "Kelvaro Mod - By Dravem", 361, 280,
                 WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_MAXIMIZEBOX | WS_THICKFRAME,
                 MainFrmControls());
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(window->TechTag(n), std::to_string(n));
    EXPECT_EQ(owners, std::vector<HWND>{window->Hwnd()});

    // The three rules, one pixel wide, ends included.
    HDC dc = GetDC(window->Hwnd());
    const COLORREF line = GetSysColor(COLOR_APPWORKSPACE), back = RGB(235, 233, 237);
    const struct {
        int x, y;
        COLORREF color;
    } pixels[] = {{0, 40, line},   {360, 40, line},  {0, 240, line},   {360, 240, line},
                  {128, 41, line}, {128, 239, line}, {127, 140, back}, {129, 140, back}};
    for (const auto& p : pixels) EXPECT_EQ(GetPixel(dc, p.x, p.y), p.color) << p.x << "," << p.y;
    ReleaseDC(window->Hwnd(), dc);
}

TEST_F(Windows, TierOptionsRaiseClickOnlyWhenTheSelectionChanges) {
    InstallGame();
    OpenMain();
    const struct {
        const char* what;
        int click;        // the option clicked, or 0 for CheckTech(selected) from the logic
        size_t messages;  // archive messages shown so far
        const char* label1;
        int selected;
    } rows[] = {
        {"click Tech(3), its archive missing", 3, 1, kTier3, 3},
        {"click Tech(3) again", 3, 1, kTier3, 3},
        {"CheckTech(5)", 0, 1, kTier3, 5},
        {"click the selected Tech(5)", 5, 1, kTier3, 5},
        {"click Tech(10)", 10, 1, kTier10, 10},
    };
    for (const auto& row : rows) {
        if (row.click == 0) window->CheckTech(row.selected);
        if (row.click != 0) SendMessageA(Child(layout::TechId(row.click)), BM_CLICK, 0, 0);
        EXPECT_EQ(messages.shown.size(), row.messages) << row.what;
        EXPECT_EQ(Text(Child(layout::kLabel1)), row.label1) << row.what;
        for (int n = 1; n <= 10; ++n) {
            HWND tech = Child(layout::TechId(n));
            const bool selected = n == row.selected;
            EXPECT_EQ(SendMessageA(tech, BM_GETCHECK, 0, 0) == BST_CHECKED, selected)
                << row.what << ", Tech(" << n << ")";
            EXPECT_EQ((GetWindowLongA(tech, GWL_STYLE) & WS_TABSTOP) != 0, selected)
                << row.what << ", Tech(" << n << ") tab stop";
        }
    }
}

// Each event on a fresh window when the one before ended it.
TEST_F(Windows, EventsReachTheLogicAndEnterAndEscDoNothing) {
    InstallGame();
    auto click = [&](int id) { SendMessageA(Child(id), BM_CLICK, 0, 0); };
    auto key = [&](int id, WPARAM key) {
        SetFocus(Child(id));
        MSG message = {Child(id), WM_KEYDOWN, key, 0, 0, {}};
        IsDialogMessageA(window->Hwnd(), &message);
    };
    auto send = [&](UINT message, WPARAM wParam) {
        return SendMessageA(window->Hwnd(), message, wParam, 0);
    };
    const struct {
        const char* what;
        std::function<void()> act;
        const char* journalTail;  // nothing new when null
        bool ends;
    } rows[] = {
        {"Visit Website", [&] { SendMessageA(Child(layout::kLabel4), WM_LBUTTONDOWN, 0, 0); },
         "open web page https://www.moddb.com/mods/kelvaro-mod", false},
        {"Start Generals", [&] { click(layout::kCommand1); },
         "critical: Unable to find generals.exe. Make sure C&C Generals is installed correctly.",
         false},
        {"Enter on Quit", [&] { key(layout::kCommand2, VK_RETURN); }, nullptr, false},
        {"Esc on Tech(10)", [&] { key(layout::TechId(10), VK_ESCAPE); }, nullptr, false},
        {"Quit", [&] { click(layout::kCommand2); }, nullptr, true},
        {"close box", [&] { send(WM_SYSCOMMAND, SC_CLOSE); }, nullptr, true},
        {"log-off",
         [&] {
             EXPECT_TRUE(send(WM_QUERYENDSESSION, 0));
             send(WM_ENDSESSION, TRUE);
         },
         nullptr, true},
    };
    for (const auto& row : rows) {
        if (window == nullptr || window->Hwnd() == nullptr) OpenMain();
        const Journal before = journal;
        row.act();
        EXPECT_EQ(window->Hwnd() == nullptr, row.ends) << row.what;
        EXPECT_EQ(window->ends, row.ends ? 1 : 0) << row.what;
        if (row.ends) continue;
        Journal expected = before;
        if (row.journalTail != nullptr) expected.push_back(row.journalTail);
        EXPECT_EQ(journal, expected) << row.what;
    }
}

// Hot spot x and y, and the mask's size: a two-colour cursor keeps both of
// its planes in a mask twice as high as the cursor.
std::array<long, 4> ShapeOf(HCURSOR cursor) {
    ICONINFO info = {};
    GetIconInfo(cursor, &info);
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    return {static_cast<long>(info.xHotspot), static_cast<long>(info.yHotspot), mask.bmWidth,
            mask.bmHeight};
}

TEST_F(Windows, HandPointerOverTheLinkOnly) {
    const std::array<long, 4> hand = {17, 3, 32, 64};
    HCURSOR link = CreateLinkCursor(GetModuleHandleA(nullptr));
    EXPECT_EQ(ShapeOf(link), hand);
    DestroyCursor(link);

    InstallGame();
    OpenMain();
    for (int id : {+layout::kLabel4, +layout::kLabel1, +layout::kCommand2, layout::TechId(10)}) {
        SendMessageA(Child(id), WM_SETCURSOR, reinterpret_cast<WPARAM>(Child(id)),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(ShapeOf(GetCursor()) == hand, id == layout::kLabel4) << "control " << id;
    }
}

// Start-up without the registry entry shows the message, then the dialog,
// which a timer drives step by step from inside the dialog's own loop.
struct DialogStep {
    const char* typed;
    int button;  // a button id, 0 for the close box, or kClosedByAnotherThread
};
// A close sent from another thread, as another program would send it. The
// steps end with it: no timer message comes after it to wake the dialog's loop.
constexpr int kClosedByAnotherThread = -1;
const std::vector<DialogStep>* gSteps = nullptr;
size_t gNextStep = 0;
const std::vector<HWND>* gOwners = nullptr;  // the first one is the dialog
std::thread gCloser;
std::atomic<ULONGLONG> gClosedAt = 0;
std::promise<void> gLoopEnded;

void CALLBACK RunDialogStep(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = gOwners->empty() ? nullptr : gOwners->front();
    if (dialog == nullptr || !IsWindow(dialog)) return;
    if (gNextStep == 0) {
        ExpectWindow(dialog, "Enter the right path plus generals.exe...", 388, 73,
                     WS_CAPTION | WS_SYSMENU, WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME,
                     kPathFrmControls);
    }
    if (gNextStep == gSteps->size()) {
        ADD_FAILURE() << "the dialog is still open after every step";
        KillTimer(nullptr, timer);
        DestroyWindow(dialog);
        return;
    }
    const DialogStep& step = (*gSteps)[gNextStep++];
    SetWindowTextA(GetDlgItem(dialog, layout::kText1), step.typed);
    if (step.button == kClosedByAnotherThread) {
        KillTimer(nullptr, timer);
        gCloser = std::thread([dialog, loop = GetCurrentThreadId()] {
            SendMessageA(dialog, WM_CLOSE, 0, 0);
            gClosedAt = GetTickCount64();
            // Wakes a loop that would wait on after its dialog has gone.
            if (gLoopEnded.get_future().wait_for(std::chrono::seconds(3)) ==
                std::future_status::timeout) {
                PostThreadMessageA(loop, WM_NULL, 0, 0);
            }
        });
        return;
    }
    if (step.button == 0) SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (step.button != 0) SendMessageA(GetDlgItem(dialog, step.button), BM_CLICK, 0, 0);
}

TEST_F(Windows, PathFrmDuringStartUp) {
    const char* wrong = "C:\\Games\\Generals\\Generals.exe";
    const char* right = "C:\\Games\\Generals\\generals.exe";
    const std::string refused = "Wrong path selected! Try to locate generals.exe";
    const struct {
        const char* what;
        std::vector<DialogStep> steps;
        const char* gameFolder;
        std::vector<std::string> shown;
        bool mainShown;
    } rows[] = {
        {"a wrong path, then the right one",
         {{wrong, layout::kPathCommand1}, {right, layout::kPathCommand1}},
         "C:\\Games\\Generals\\",
         {kNotLocated, refused},
         true},
        {"the close box", {{right, 0}}, "", {kNotLocated}, true},
        {"a close sent by another thread",
         {{right, kClosedByAnotherThread}},
         "",
         {kNotLocated},
         true},
        {"Quit", {{right, layout::kPathCommand2}}, "", {kNotLocated}, false},
    };
    for (const auto& row : rows) {
        PubVar::GameFolder.clear();
        messages.shown.clear();
        owners.clear();
        ownerTicks.clear();
        gSteps = &row.steps;
        gNextStep = 0;
        gOwners = &owners;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, RunDialogStep);
        gLoopEnded = {};
        OpenMain();
        KillTimer(nullptr, timer);
        if (gCloser.joinable()) {
            gLoopEnded.set_value();
            gCloser.join();
            ASSERT_GE(ownerTicks.size(), 2u) << row.what;
            const auto waited = static_cast<long long>(ownerTicks[1] - gClosedAt);
            EXPECT_LT(waited, 1000) << row.what << ": the dialog's loop outlived the dialog";
        }

        std::vector<std::string> shown;
        for (const ShownMessage& message : messages.shown) shown.push_back(message.text);
        EXPECT_EQ(shown, row.shown) << row.what;
        EXPECT_EQ(PubVar::GameFolder, row.gameFolder) << row.what;
        ASSERT_FALSE(owners.empty()) << row.what;
        EXPECT_FALSE(IsWindow(owners[0])) << row.what << ": the dialog is gone";
        EXPECT_EQ(window->ends != 0, !row.mainShown) << row.what;
        if (!row.mainShown) continue;
        EXPECT_TRUE(IsWindowVisible(window->Hwnd())) << row.what;
        EXPECT_EQ(Text(Child(layout::kLabel1)), kTier10) << row.what;
        EXPECT_EQ(owners, (std::vector<HWND>{owners[0], nullptr, window->Hwnd()})) << row.what;
    }
}

}  // namespace
}  // namespace kelvaro::testing
