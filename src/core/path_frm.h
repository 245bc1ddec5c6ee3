// PathFrm: the game location dialog, in which the player names generals.exe
// by hand when the registry does not name the game's install folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "main_frm.h"
#include "platform.h"

namespace kelvaro {

// The folder part of a path that ends exactly in "generals.exe"; nothing for
// any other text.
std::optional<std::string> AcceptGamePath(std::string_view text);

class PathFrm {
  public:
    PathFrm(PathFrmView& view, MessageBox& messages, MainFrm& mainFrm);

    void Command1Click();  // "Ok"
    void Command2Click();  // "Quit"
    void Command3Click();  // "..."

  private:
    PathFrmView& view_;
    MessageBox& messages_;
    MainFrm& mainFrm_;
    // The open box's file name, kept from one browse to the next.
    std::string cd1FileName_;
};

}  // namespace kelvaro
