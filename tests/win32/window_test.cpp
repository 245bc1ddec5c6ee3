// The two windows created for real, with fakes behind the launcher's logic:
// every control where the player expects it, the window frames, the events
// that reach the logic and those that must not, the link's pointer, and the
// dialog as start-up shows it.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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
    "critical: Kelvaro Mod was unable to locate the C&C Generals directory, make sure Generals "
    "is installed correctly!";

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

using Box = std::array<long, 4>;  // left, top, width, height in the parent's client area

Box BoxOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

struct Control {
    std::string name;
    const char* className;
    std::string text;
    DWORD mask;  // the style bits that matter
    DWORD style;
    Box box;
};

constexpr DWORD kButton = BS_TYPEMASK | WS_TABSTOP;  // a push button, never the default one
constexpr DWORD kLabel = SS_TYPEMASK | SS_NOTIFY | WS_TABSTOP;

std::vector<Control> MainFrmControls() {
    std::vector<Control> rows = {
        {"TopPic", "Static", "", SS_TYPEMASK, SS_OWNERDRAW, {0, 0, 361, 40}},
        {"Command2", "Button", "Quit", kButton, WS_TABSTOP, {168, 248, 89, 25}},
        {"Command1", "Button", "Start Generals", kButton, WS_TABSTOP, {264, 248, 89, 25}},
    };
    const long tops[] = {216, 200, 184, 168, 152, 136, 120, 104, 88, 72};
    for (int n = 1; n <= 10; ++n) {
        // One group; the selected tier 10 holds its tab stop.
        DWORD style = BS_AUTORADIOBUTTON | (n == 1 ? WS_GROUP : 0) | (n == 10 ? WS_TABSTOP : 0);
        rows.push_back({"Tech(" + std::to_string(n) + ")",
                        "Button",
                        "Tech level " + std::to_string(n),
                        BS_TYPEMASK | WS_GROUP | WS_TABSTOP,
                        style,
                        {16, tops[n - 1], 89, 13}});
    }
    rows.push_back({"Label2", "Static", "Description:", kLabel, SS_LEFT, {144, 48, 57, 17}});
    rows.push_back({"Label1", "Static", kTier10, kLabel, SS_LEFT, {152, 80, 201, 145}});
    rows.push_back({"Label3", "Static", "Select a Tech level:", kLabel, SS_LEFT, {8, 48, 97, 17}});
    rows.push_back(
        {"Label4", "Static", "Visit Website", kLabel, SS_LEFT | SS_NOTIFY, {8, 260, 65, 13}});
    return rows;
}

const std::vector<Control> kPathFrmControls = {
    {"Text1",
     "Edit",
     "",
     ES_AUTOHSCROLL | WS_TABSTOP,
     ES_AUTOHSCROLL | WS_TABSTOP,
     {88, 16, 257, 19}},
    {"Label1", "Static", "Generals path:", kLabel, SS_LEFT, {8, 18, 73, 17}},
    {"Command1", "Button", "Ok", kButton, WS_TABSTOP, {296, 40, 81, 25}},
    {"Command2", "Button", "Quit", kButton, WS_TABSTOP, {208, 40, 81, 25}},
    {"Command3", "Button", "...", kButton, WS_TABSTOP, {352, 16, 25, 17}},
};

// The children in z-order, which is the tab order.
void ExpectControls(HWND window, const std::vector<Control>& rows) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        children.push_back(c);
    }
    ASSERT_EQ(children.size(), rows.size());
    for (size_t tab = 0; tab < rows.size(); ++tab) {
        const Control& row = rows[tab];
        HWND control = children[tab];
        char className[64] = {};
        GetClassNameA(control, className, sizeof className);
        EXPECT_STRCASEEQ(className, row.className) << row.name;
        EXPECT_EQ(Text(control), row.text) << row.name;
        EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & row.mask, row.style) << row.name;
        EXPECT_EQ(BoxOf(control), row.box) << row.name;
    }
}

void ExpectFrame(HWND window, const char* caption, long width, long height, DWORD present,
                 DWORD absent) {
    EXPECT_EQ(Text(window), caption);
    RECT client, frame, screen;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, width) << caption;
    EXPECT_EQ(client.bottom, height) << caption;
    const DWORD style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (present | absent), present) << caption;
    GetWindowRect(window, &frame);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    EXPECT_NEAR(frame.left + frame.right, screen.left + screen.right, 1) << caption;
    EXPECT_NEAR(frame.top + frame.bottom, screen.top + screen.bottom, 1) << caption;
}

class Windows : public ::testing::Test {
  protected:
    void SetUp() override {
        PubVar::GameFolder.clear();
        shell.documents = "C:\\Docs";
    }
    void InstallGame() {
        registry.SetString(0x80000002, "SOFTWARE\\Electronic Arts\\EA Games\\Generals",
                           "InstallPath", "C:\\Games\\Generals\\");
    }
    std::unique_ptr<TestMainWindow> OpenMain() {
        auto window = std::make_unique<TestMainWindow>(
            GetModuleHandleA(nullptr), Services{files, registry, shell, processes, messages},
            [this](HWND owner) { owners.push_back(owner); });
        EXPECT_TRUE(window->Open(SW_SHOWNORMAL));
        return window;
    }
    HWND Child(const TestMainWindow& window, int id) { return GetDlgItem(window.Hwnd(), id); }

    Journal journal;
    NoGame files;
    MemoryRegistry registry;
    FakeShell shell{journal};
    FakeProcessStarter processes{journal};
    FakeMessageBox messages{journal};
    std::vector<HWND> owners;
};

TEST_F(Windows, MainFrmAfterStartUp) {
    InstallGame();
    auto window = OpenMain();
    ExpectFrame(window->Hwnd(), "Kelvaro Mod - By Dravem", 361, 280,
                WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_MAXIMIZEBOX | WS_THICKFRAME);
    ExpectControls(window->Hwnd(), MainFrmControls());
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(window->TechTag(n), std::to_string(n));
    EXPECT_EQ(owners, std::vector<HWND>{window->Hwnd()});

    // The rules in the workspace colour, one pixel wide, on the background.
    HDC dc = GetDC(window->Hwnd());
    const COLORREF line = GetSysColor(COLOR_APPWORKSPACE), back = RGB(235, 233, 237);
    const struct {
        int x, y;
        COLORREF color;
    } pixels[] = {{0, 40, line},   {360, 40, line},  {0, 240, line},   {360, 240, line},
                  {128, 41, line}, {128, 239, line}, {127, 140, back}, {129, 140, back},
                  {200, 41, back}, {200, 239, back}};
    for (const auto& p : pixels) {
        EXPECT_EQ(GetPixel(dc, p.x, p.y), p.color) << p.x << "," << p.y;
    }
    ReleaseDC(window->Hwnd(), dc);
}

TEST_F(Windows, TierOptionsRaiseClickOnlyWhenTheSelectionChanges) {
    InstallGame();
    auto window = OpenMain();
    auto click = [&](int n) { SendMessageA(Child(*window, layout::TechId(n)), BM_CLICK, 0, 0); };
    const struct {
        const char* what;
        std::function<void()> act;
        size_t messages;  // archive messages shown so far
        const char* label1;
        int selected;
    } rows[] = {
        {"click Tech(3), its archive missing", [&] { click(3); }, 1, kTier3, 3},
        {"click Tech(3) again", [&] { click(3); }, 1, kTier3, 3},
        {"CheckTech(5) from the logic", [&] { window->CheckTech(5); }, 1, kTier3, 5},
        {"click the selected Tech(5)", [&] { click(5); }, 1, kTier3, 5},
        {"click Tech(10)", [&] { click(10); }, 1, kTier10, 10},
    };
    for (const auto& row : rows) {
        row.act();
        EXPECT_EQ(messages.shown.size(), row.messages) << row.what;
        EXPECT_EQ(Text(Child(*window, layout::kLabel1)), row.label1) << row.what;
        for (int n = 1; n <= 10; ++n) {
            HWND tech = Child(*window, layout::TechId(n));
            const bool selected = n == row.selected;
            EXPECT_EQ(SendMessageA(tech, BM_GETCHECK, 0, 0), selected ? BST_CHECKED : BST_UNCHECKED)
                << row.what << ", Tech(" << n << ")";
            EXPECT_EQ((GetWindowLongA(tech, GWL_STYLE) & WS_TABSTOP) != 0, selected)
                << row.what << ", Tech(" << n << ")";
        }
    }
}

TEST_F(Windows, ControlEventsReachTheLogicAndEnterAndEscDoNothing) {
    InstallGame();
    auto window = OpenMain();
    HWND main = window->Hwnd();
    auto key = [&](HWND focus, WPARAM vk) {
        SetFocus(focus);
        MSG message = {focus, WM_KEYDOWN, vk, 0, 0, {}};
        IsDialogMessageA(main, &message);
    };
    const struct {
        const char* what;
        std::function<void()> act;
        const char* journalTail;
    } rows[] = {
        {"Visit Website",
         [&] { SendMessageA(Child(*window, layout::kLabel4), WM_LBUTTONDOWN, 0, 0); },
         "open web page https://www.moddb.com/mods/kelvaro-mod"},
        {"Start Generals", [&] { SendMessageA(Child(*window, layout::kCommand1), BM_CLICK, 0, 0); },
         "critical: Unable to find generals.exe. Make sure C&C Generals is installed correctly."},
        {"Enter on Quit", [&] { key(Child(*window, layout::kCommand2), VK_RETURN); }, nullptr},
        {"Esc on Tech(10)", [&] { key(Child(*window, layout::TechId(10)), VK_ESCAPE); }, nullptr},
    };
    for (const auto& row : rows) {
        const Journal before = journal;
        row.act();
        if (row.journalTail == nullptr) {
            EXPECT_EQ(journal, before) << row.what;
        } else {
            ASSERT_EQ(journal.size(), before.size() + 1) << row.what;
            EXPECT_EQ(journal.back(), row.journalTail) << row.what;
        }
        EXPECT_TRUE(IsWindow(main)) << row.what;
        EXPECT_EQ(window->ends, 0) << row.what;
    }
}

TEST_F(Windows, EveryWayOutRunsTheExitSequence) {
    InstallGame();
    const struct {
        const char* what;
        std::function<void(HWND)> act;
    } rows[] = {
        {"Quit",
         [](HWND main) { SendMessageA(GetDlgItem(main, layout::kCommand2), BM_CLICK, 0, 0); }},
        {"close box", [](HWND main) { SendMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"log-off",
         [](HWND main) {
             EXPECT_TRUE(SendMessageA(main, WM_QUERYENDSESSION, 0, 0));
             SendMessageA(main, WM_ENDSESSION, TRUE, 0);
         }},
    };
    for (const auto& row : rows) {
        auto window = OpenMain();
        HWND main = window->Hwnd();
        row.act(main);
        EXPECT_FALSE(IsWindow(main)) << row.what;
        EXPECT_EQ(window->ends, 1) << row.what;
    }
}

TEST_F(Windows, HandPointerOverTheLinkOnly) {
    HCURSOR hand = CreateLinkCursor(GetModuleHandleA(nullptr));
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 17u);
    EXPECT_EQ(info.yHotspot, 3u);
    EXPECT_EQ(info.hbmColor, nullptr);  // two colours: the mask holds both planes
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64);
    std::array<unsigned char, 256> planes = {};
    GetBitmapBits(info.hbmMask, planes.size(), planes.data());
    const unsigned char bit = 0x80 >> (17 % 8);
    EXPECT_FALSE(planes[3 * 4 + 17 / 8] & bit) << "the hot spot is opaque";
    EXPECT_FALSE(planes[(32 + 3) * 4 + 17 / 8] & bit) << "and black";
    DeleteObject(info.hbmMask);
    DestroyCursor(hand);

    InstallGame();
    auto window = OpenMain();
    for (int id :
         {int{layout::kLabel4}, int{layout::kLabel1}, int{layout::kCommand2}, layout::TechId(10)}) {
        HWND control = Child(*window, id);
        SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        ICONINFO shown = {};
        ASSERT_TRUE(GetIconInfo(GetCursor(), &shown)) << id;
        EXPECT_EQ(shown.xHotspot == 17 && shown.yHotspot == 3, id == layout::kLabel4) << id;
        DeleteObject(shown.hbmMask);
        if (shown.hbmColor != nullptr) DeleteObject(shown.hbmColor);
    }
}

// Start-up without the registry entry: the message, then the dialog, run
// step by step from a timer inside the dialog's own loop.
struct DialogStep {
    const char* typed;
    int button;  // a button id, or 0 for the close box
};
const std::vector<DialogStep>* gSteps = nullptr;
size_t gNextStep = 0;
HWND gDialog = nullptr;

void CALLBACK RunDialogStep(HWND, UINT, UINT_PTR timer, DWORD) {
    if (gDialog == nullptr || !IsWindow(gDialog)) return;
    if (gNextStep == 0)
        ExpectFrame(gDialog, "Enter the right path plus generals.exe...", 388, 73,
                    WS_CAPTION | WS_SYSMENU, WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME);
    if (gNextStep == 0) ExpectControls(gDialog, kPathFrmControls);
    if (gNextStep == gSteps->size()) {
        ADD_FAILURE() << "the dialog is still open after every step";
        KillTimer(nullptr, timer);
        DestroyWindow(gDialog);
        return;
    }
    const DialogStep& step = (*gSteps)[gNextStep++];
    SetWindowTextA(GetDlgItem(gDialog, layout::kText1), step.typed);
    if (step.button == 0) {
        SendMessageA(gDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        SendMessageA(GetDlgItem(gDialog, step.button), BM_CLICK, 0, 0);
    }
}

TEST_F(Windows, PathFrmDuringStartUp) {
    const char* wrong = "C:\\Games\\Generals\\Generals.exe";
    const char* right = "C:\\Games\\Generals\\generals.exe";
    const std::string refused = "critical: Wrong path selected! Try to locate generals.exe";
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
        {"Quit", {{right, layout::kPathCommand2}}, "", {kNotLocated}, false},
    };
    for (const auto& row : rows) {
        PubVar::GameFolder.clear();
        journal.clear();
        owners.clear();
        gSteps = &row.steps;
        gNextStep = 0;
        auto window = std::make_unique<TestMainWindow>(
            GetModuleHandleA(nullptr), Services{files, registry, shell, processes, messages},
            [&](HWND owner) {
                owners.push_back(owner);
                if (owners.size() == 1) gDialog = owner;
            });
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, RunDialogStep);
        ASSERT_TRUE(window->Open(SW_SHOWNORMAL)) << row.what;
        KillTimer(nullptr, timer);

        Journal shown;
        for (const std::string& line : journal) {
            if (line.rfind("critical: ", 0) == 0) shown.push_back(line);
        }
        EXPECT_EQ(shown, row.shown) << row.what;
        EXPECT_EQ(PubVar::GameFolder, row.gameFolder) << row.what;
        EXPECT_FALSE(IsWindow(gDialog)) << row.what;
        EXPECT_EQ(window->Hwnd() != nullptr && IsWindowVisible(window->Hwnd()), row.mainShown)
            << row.what;
        EXPECT_EQ(window->ends != 0, !row.mainShown) << row.what;
        if (row.mainShown) {
            EXPECT_EQ(Text(GetDlgItem(window->Hwnd(), layout::kLabel1)), kTier10) << row.what;
            EXPECT_EQ(owners, (std::vector<HWND>{gDialog, nullptr, window->Hwnd()})) << row.what;
        }
    }
}

}  // namespace
}  // namespace kelvaro::testing
