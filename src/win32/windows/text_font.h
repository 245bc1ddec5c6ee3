// The launcher's type: "MS Sans Serif" 8.25 pt, a bitmap font of a few sizes,
// where the system holds its size for the display; elsewhere its scalable
// successor, "Microsoft Sans Serif", made to its measure, at the same height.
#pragma once

#include <windows.h>

#include <string_view>

namespace kelvaro {

struct TextFonts {
    HFONT text;
    HFONT link;  // underlined
};

// The fonts at `dpi`; the caller deletes both.
TextFonts CreateTextFonts(int dpi);

// How wide a caption is drawn in `font`, in pixels.
int CaptionWidth(std::string_view caption, HFONT font);

}  // namespace kelvaro
