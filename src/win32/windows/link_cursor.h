// The pointing hand shown over the "Visit Website" link: a 32 x 32 two-colour
// cursor that the program draws itself, hot spot at the tip of the finger.
#pragma once

#include <windows.h>

namespace kelvaro {

inline constexpr int kLinkCursorHotSpotX = 17;
inline constexpr int kLinkCursorHotSpotY = 3;

// The caller owns the cursor and destroys it with DestroyCursor.
HCURSOR CreateLinkCursor(HINSTANCE instance);

}  // namespace kelvaro
