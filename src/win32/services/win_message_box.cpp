#include "win_message_box.h"

#include "texts.h"

namespace kelvaro {

void WinMessageBox::Show(const std::string& text, Icon icon) {
    const std::string title(texts::kProductName);
    UINT style = MB_OK | (icon == Icon::Critical ? MB_ICONERROR : MB_ICONEXCLAMATION);
    ::MessageBoxA(owner_, text.c_str(), title.c_str(), style);
}

bool WinMessageBox::Ask(const std::string& text) {
    const std::string title(texts::kProductName);
    return ::MessageBoxA(owner_, text.c_str(), title.c_str(), MB_YESNO | MB_ICONEXCLAMATION) ==
           IDYES;
}

}  // namespace kelvaro
