#include "main_window.h"

#include <algorithm>
#include <utility>

#include "banner.h"
#include "keyboard_link.h"
#include "link_cursor.h"
#include "path_window.h"
#include "trace.h"

namespace kelvaro {

MainWindow::MainWindow(HINSTANCE instance, Services services, Desktop& desktop,
                       std::function<void(HWND)> setMessageOwner)
    : Frame(instance, layout::Form::MainFrm, desktop),
      messages_(services.messages),
      setMessageOwner_(std::move(setMessageOwner)),
      frm_(services, *this) {}

MainWindow::~MainWindow() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    if (banner_ != nullptr) DeleteObject(banner_);
    if (linkCursor_ != nullptr) DestroyCursor(linkCursor_);
}

bool MainWindow::Open(int showCommand) {
    frm_.Initialize();
    trace::PhaseEnd("common controls");
    if (!CreateFrame()) return false;
    trace::PhaseEnd("window");
    frm_.Load();
    if (hwnd_ != nullptr) {
        ShowWindow(hwnd_, showCommand);
        trace::PhaseEnd("show");
        UpdateWindow(hwnd_);
        trace::PhaseEnd("first paint");
        setMessageOwner_(hwnd_);
        frm_.Shown();
    }
    return true;
}

void MainWindow::RunMessageLoop() {
    MSG message;
    while (hwnd_ != nullptr && GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(hwnd_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // A quit request ends the launcher the way closing its window does: the
    // game's folder is put back first.
    frm_.QueryUnload();
}

std::string MainWindow::TechTag(int index) {
    return std::string(layout::FindControl(layout::TechId(index))->tag);
}

void MainWindow::CheckTech(int index) {
    SelectTech(index);
}

void MainWindow::SetLabel1(const std::string& caption) {
    SetWindowTextA(Control(layout::kLabel1), caption.c_str());
}

void MainWindow::ShowPathFrm() {
    PathWindow dialog(instance_, desktop_, messages_, frm_, [this] { EndProcess(); });
    if (!dialog.Create()) return;
    pathWindow_ = &dialog;
    setMessageOwner_(dialog.Hwnd());
    dialog.RunModal();
    setMessageOwner_(hwnd_ != nullptr && IsWindowVisible(hwnd_) ? hwnd_ : nullptr);
    pathWindow_ = nullptr;
}

void MainWindow::UnloadWindows() {
    if (pathWindow_ != nullptr) pathWindow_->Unload();
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void MainWindow::EndProcess() {
    ExitProcess(0);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_COMMAND:
            // BN_CLICKED and STN_CLICKED alike: the controls' one event.
            if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
            return 0;
        case WM_SETCURSOR:
            if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
            break;
        case WM_SIZE:
            OnSize(LOWORD(lParam));
            break;
        case WM_DPICHANGED: {
            Frame::HandleMessage(message, wParam, lParam);
            RECT client;
            GetClientRect(hwnd_, &client);
            OnSize(client.right);
            return 0;
        }
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_DRAWITEM:
            if (wParam != layout::kTopPic) break;
            OnDrawBanner(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CLOSE:
            frm_.QueryUnload();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) frm_.QueryUnload();
            return 0;
    }
    return Frame::HandleMessage(message, wParam, lParam);
}

void MainWindow::OnCreate() {
    CreateControls();
    MakeKeyboardLink(Control(layout::kLabel4));
    banner_ = LoadBanner(instance_);
    trace::PhaseEnd("banner decode");
}

void MainWindow::OnCommand(int id) {
    if (layout::IsTech(id)) {
        OnTechClicked(layout::TechIndex(id));
        return;
    }
    switch (id) {
        case layout::kCommand1:
            frm_.Command1Click();
            break;
        case layout::kCommand2:
            frm_.Command2Click();
            break;
        case layout::kLabel4:
            frm_.Label4Click();
            break;
    }
}

// An option also reports a click when it merely takes the focus, and when the
// selected one is clicked again; only a new selection is the tier's Click.
void MainWindow::OnTechClicked(int index) {
    HWND tech = Control(layout::TechId(index));
    if (SendMessageA(tech, BM_GETCHECK, 0, 0) != BST_CHECKED || index == selectedTech_) return;
    SelectTech(index);
    frm_.TechClick(index);
}

// The selected option alone is checked and holds the group's tab stop, so
// that Tab comes to the selected tier and the arrows move through the others:
// the options that change are the one selected before and the new one.
void MainWindow::SelectTech(int index) {
    for (int tier : {selectedTech_, index}) {
        if (tier == 0) continue;
        HWND tech = Control(layout::TechId(tier));
        const bool selected = tier == index;
        SendMessageA(tech, BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
        LONG_PTR style = GetWindowLongPtrA(tech, GWL_STYLE);
        style = selected ? style | WS_TABSTOP : style & ~static_cast<LONG_PTR>(WS_TABSTOP);
        SetWindowLongPtrA(tech, GWL_STYLE, style);
    }
    selectedTech_ = index;
}

// The hand is made the first time the pointer comes over the link.
bool MainWindow::OnSetCursor(HWND under, int hitTest) {
    if (under != Control(layout::kLabel4) || hitTest != HTCLIENT) return false;
    if (linkCursor_ == nullptr) linkCursor_ = CreateLinkCursor(instance_);
    SetCursor(linkCursor_);
    return true;
}

// Keeps the banner and the rule under it as wide as the client area. W is in
// pixels already; the banner's height is scaled like the rest of the table.
void MainWindow::OnSize(int width) {
    const RECT banner = Scaled({0, 0, 0, layout::kBannerHeight});
    MoveWindow(Control(layout::kTopPic), 0, 0, width, banner.bottom, TRUE);
    clientWidth_ = width;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

namespace {

// The pixels of a line, both ends included, as a box at 96 dpi.
RECT LineBox(const layout::Line& line) {
    return {std::min(line.x1, line.x2), std::min(line.y1, line.y2), std::max(line.x1, line.x2) + 1,
            std::max(line.y1, line.y2) + 1};
}

}  // namespace

void MainWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    HBRUSH brush = look_.Brush(look_.RuleColor());
    RECT line1 = Scaled(LineBox(layout::kLine1));
    line1.right = clientWidth_ + 1;
    for (const RECT& pixels :
         {line1, Scaled(LineBox(layout::kLine2)), Scaled(LineBox(layout::kLine3))}) {
        FillRect(dc, &pixels, brush);
    }
    EndPaint(hwnd_, &paint);
}

// The banner at its natural size scaled to the window's DPI, from the
// top-left corner; the background wherever the box is larger. At 96 dpi the
// bitmap is copied as it is.
void MainWindow::OnDrawBanner(const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, look_.Brush(look_.BackColor()));
    BITMAP size;
    if (banner_ == nullptr || GetObjectA(banner_, sizeof size, &size) == 0) return;
    const RECT box = Scaled({0, 0, size.bmWidth, size.bmHeight});
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(source, banner_);
    if (box.right == size.bmWidth && box.bottom == size.bmHeight) {
        BitBlt(item.hDC, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(item.hDC, HALFTONE);
        SetBrushOrgEx(item.hDC, 0, 0, nullptr);
        StretchBlt(item.hDC, 0, 0, box.right, box.bottom, source, 0, 0, size.bmWidth, size.bmHeight,
                   SRCCOPY);
    }
    SelectObject(source, previous);
    DeleteDC(source);
}

}  // namespace kelvaro
