// The shell's services: the documents folder, a web page opened by its
// default program, and the common controls' classes.
#pragma once

#include <string>

#include "platform.h"
#include "windows_api.h"

namespace kelvaro {

class WinShell : public Shell {
  public:
    std::string GetSpecialFolder(int folderId) override;
    void OpenWebPage(const std::string& target) override;
    void InitControlStyles() override;
};

}  // namespace kelvaro
