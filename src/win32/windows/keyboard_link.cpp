#include "keyboard_link.h"

namespace kelvaro {

namespace {

// A key held down repeats its WM_KEYDOWN; the page opens once per press.
bool FirstPress(LPARAM keyData) {
    return (keyData & (1 << 30)) == 0;
}

// The label's own painting, then the focus rectangle around it, unless the
// window hides focus rectangles until the keyboard is used. The whole label
// is painted, so that the rectangle, drawn by inverting, is never drawn twice.
LRESULT Paint(HWND link, WNDPROC labelProc, WPARAM wParam, LPARAM lParam) {
    InvalidateRect(link, nullptr, TRUE);
    const LRESULT painted = CallWindowProcA(labelProc, link, WM_PAINT, wParam, lParam);
    if (GetFocus() == link && (SendMessageA(link, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0) {
        RECT box;
        GetClientRect(link, &box);
        HDC dc = GetDC(link);
        DrawFocusRect(dc, &box);
        ReleaseDC(link, dc);
    }
    return painted;
}

LRESULT CALLBACK LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto labelProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(link, GWLP_USERDATA));
    switch (message) {
        case WM_GETDLGCODE: {
            // Enter comes to the link rather than to the window's default
            // button, which it does not have; and so do the characters that
            // follow Enter and Space, which the dialog manager would
            // otherwise answer with a beep, finding no control they name.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            const LRESULT code =
                CallWindowProcA(labelProc, link, message, wParam, lParam) | DLGC_WANTCHARS;
            const bool enter =
                key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
            return enter ? code | DLGC_WANTMESSAGE : code;
        }
        case WM_KEYDOWN:
            if ((wParam != VK_RETURN && wParam != VK_SPACE) || !FirstPress(lParam)) break;
            SendMessageA(GetParent(link), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED),
                         reinterpret_cast<LPARAM>(link));
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_UPDATEUISTATE:
            InvalidateRect(link, nullptr, TRUE);
            break;
        case WM_PAINT:
            return Paint(link, labelProc, wParam, lParam);
    }
    return CallWindowProcA(labelProc, link, message, wParam, lParam);
}

}  // namespace

// The label keeps its own procedure in its user data, which labels leave to
// the program.
void MakeKeyboardLink(HWND label) {
    SetWindowLongPtrA(label, GWLP_USERDATA, GetWindowLongPtrA(label, GWLP_WNDPROC));
    SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProc));
}

}  // namespace kelvaro
