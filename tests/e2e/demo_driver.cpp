// The demo's helper. `demo_driver sandbox` builds a sandbox with every mod
// file and a windowed stand-in game, for a player to try the launcher by
// hand. `demo_driver tour <folder>` plays a whole run on its own, starting
// without the game's registry entry, and saves screenshots of the screen
// (the Wine desktop) into <folder> as BMP files at each step.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <utility>

#include "launcher.h"
#include "sandbox.h"

namespace {

using namespace kelvaro::e2e;

void Say(const std::string& line) {
    std::printf("demo: %s\n", line.c_str());
    std::fflush(stdout);
}

// The whole screen as the bytes of a 24-bit bottom-up BMP file.
std::string ScreenBytes() {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
    const DWORD headerBytes = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER file = {0x4D42, headerBytes + imageBytes, 0, 0, headerBytes};
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    bytes.append(static_cast<const char*>(bits), imageBytes);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bytes;
}

// Screenshots wait until the screen shows what the windows hold: a message
// sent to a window returns once its thread has handled its paint too, and
// the screen shows it once Wine has passed it on to the X server, when two
// pictures in a row are the same.
void Shoot(const std::string& folder, const std::string& name, HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Settle(window);
    std::string picture = ScreenBytes(), before;
    for (int tries = 0; tries < 20 && picture != before; ++tries) {
        Sleep(50);
        before = std::exchange(picture, ScreenBytes());
    }
    WriteFileBytes(folder + "\\" + name + ".bmp", picture);
    Say("saved " + folder + "\\" + name + ".bmp");
}

void Tour(const std::string& folder) {
    Sandbox sandbox({.registryEntry = false, .gameWindow = true}, KELVARO_STANDIN_GAME);
    Launcher launcher(KELVARO_LAUNCHER, Sandbox::WorkFolder());

    MessageBoxSeen notFound = launcher.WaitMessageBox();
    Say("message box: " + notFound.text);
    Shoot(folder, "message-box", notFound.window);
    launcher.Answer(notFound);

    PathDialog dialog{launcher.WaitPathDialog()};
    TypeText(dialog.Text1(), Sandbox::GameFolder() + "generals.exe");
    Shoot(folder, "dialog", dialog.window);
    Click(dialog.OkButton());

    MainWindow main{launcher.WaitMainWindow()};
    Click(main.Tech(2));
    WaitFor("tier 2", [&] { return main.SelectedTier() == 2; });
    Settle(main.window);
    Say("tier 2: " + main.Description());
    Shoot(folder, "main-window", main.window);

    Click(main.StartButton());
    // The game is a process of its own, started by the launcher.
    HWND game = WaitFor("the game's window",
                        [] { return FindWindowA("KelvaroStandinGame", "Generals (stand-in)"); });
    Say("game started: " + sandbox.GameStarts().at(0).commandLine);
    Shoot(folder, "game", game);
    PostClose(game);
    WaitFor("the game to end", [&] { return !IsWindow(game); });

    Click(main.QuitButton());
    launcher.WaitForExit();
    Say(sandbox.GameTree() == sandbox.PristineTree() ? "quit: the game folder is pristine again"
                                                     : "quit: the game folder was NOT restored");
}

}  // namespace

int main(int argc, char** argv) {
    // The screen in its own pixels, whatever the display's scale.
    SetProcessDPIAware();
    std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "sandbox") {
            Sandbox sandbox({.gameWindow = true}, KELVARO_STANDIN_GAME);
            Say("game folder " + Sandbox::GameFolder() + ", mod files in " +
                sandbox.UserDataFolder());
        } else if (mode == "tour" && argc > 2) {
            Tour(WindowsPath(argv[2]));
        } else {
            std::fprintf(stderr, "usage: demo_driver sandbox | tour <screenshot folder>\n");
            return 2;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demo: %s\n", error.what());
        return 1;
    }
    return 0;
}
