#include "path_window.h"

#include <commdlg.h>

#include <array>
#include <utility>

#include "dll_search.h"

namespace kelvaro {

namespace {

// The open box's file-type filter: program files only.
constexpr char kOpenBoxFilter[] = "Program files\0*.exe\0";
constexpr DWORD kOpenBoxFileNameSize = 260;

// comdlg32 is loaded from the system folder when the open box is first asked
// for, and stays: as an import it would come, with the printing support that
// it loads, at every start of the launcher.
BOOL GetOpenFileNameLate(OPENFILENAMEA* box) {
    using GetOpenFileNameFn = BOOL(WINAPI*)(OPENFILENAMEA*);
    static const auto getOpenFileName =
        SystemFunction<GetOpenFileNameFn>("comdlg32.dll", "GetOpenFileNameA");
    return getOpenFileName != nullptr && getOpenFileName(box);
}

}  // namespace

PathWindow::PathWindow(HINSTANCE instance, Desktop& desktop, MessageBox& messages, MainFrm& mainFrm,
                       std::function<void()> endProcess)
    : Frame(instance, layout::Form::PathFrm, desktop),
      frm_(*this, messages, mainFrm),
      endProcess_(std::move(endProcess)) {}

void PathWindow::RunModal() {
    if (hwnd_ == nullptr) return;
    ShowWindow(hwnd_, SW_SHOW);
    SetFocus(Control(layout::kText1));
    MSG message;
    while (hwnd_ != nullptr) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // A quit request ends the launcher as the dialog's Quit does,
            // through the exit sequence, before start-up goes any further.
            frm_.Command2Click();
            break;
        }
        if (hwnd_ != nullptr && IsDialogMessageA(hwnd_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string PathWindow::Text1() {
    HWND text1 = Control(layout::kText1);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(text1)) + 1, '\0');
    text.resize(
        static_cast<size_t>(GetWindowTextA(text1, text.data(), static_cast<int>(text.size()))));
    return text;
}

void PathWindow::SetText1(const std::string& text) {
    SetWindowTextA(Control(layout::kText1), text.c_str());
}

void PathWindow::ShowOpenBox(std::string* fileName) {
    std::array<char, kOpenBoxFileNameSize> buffer{};
    fileName->copy(buffer.data(), buffer.size() - 1);
    OPENFILENAMEA box = {};
    box.lStructSize = sizeof box;
    box.hwndOwner = hwnd_;
    box.lpstrFilter = kOpenBoxFilter;
    box.nFilterIndex = 1;
    box.lpstrFile = buffer.data();
    box.nMaxFile = static_cast<DWORD>(buffer.size());
    box.Flags = OFN_HIDEREADONLY;
    if (GetOpenFileNameLate(&box)) *fileName = buffer.data();
}

void PathWindow::Unload() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void PathWindow::EndProcess() {
    endProcess_();
}

LRESULT PathWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls();
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
            return 0;
        case WM_CLOSE:
            // The close box only ends the dialog; start-up goes on.
            Unload();
            return 0;
        case WM_DESTROY:
            // The modal loop looks for the dialog's end when GetMessage returns,
            // which a message sent from another thread does not make it do.
            PostMessageA(nullptr, WM_NULL, 0, 0);
            break;
    }
    return Frame::HandleMessage(message, wParam, lParam);
}

void PathWindow::OnCommand(int id) {
    switch (id) {
        case layout::kPathCommand1:
            frm_.Command1Click();
            break;
        case layout::kPathCommand2:
            frm_.Command2Click();
            break;
        case layout::kPathCommand3:
            frm_.Command3Click();
            break;
    }
}

}  // namespace kelvaro
