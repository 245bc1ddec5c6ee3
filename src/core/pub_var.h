// PubVar: the launcher state that outlives the main window's own members.
#pragma once

#include <string>

namespace kelvaro::PubVar {

// The game's install folder, a path prefix; correct when it ends with a
// backslash. Written by start-up and by the game location dialog.
extern std::string GameFolder;

}  // namespace kelvaro::PubVar
