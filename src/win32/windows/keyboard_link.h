// The "Visit Website" label as a link for the keyboard: Tab stops at it, it
// shows the focus rectangle while it has the focus (once the keyboard is in
// use), and Enter or Space reports a click to its window, as the mouse's
// click does (STN_CLICKED), and takes the characters those keys bring.
#pragma once

#include <windows.h>

namespace kelvaro {

// For a label of style SS_NOTIFY | WS_TABSTOP, once it is created.
void MakeKeyboardLink(HWND label);

}  // namespace kelvaro
