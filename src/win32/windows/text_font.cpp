#include "text_font.h"

#include "layout.h"

namespace kelvaro {

namespace {

// A bitmap size's character height in points, at the DPI it was drawn for.
int PointSize(const TEXTMETRICA& metrics) {
    return MulDiv(metrics.tmHeight - metrics.tmInternalLeading, 72, metrics.tmDigitizedAspectY);
}

int CALLBACK FindBitmapSize(const LOGFONTA*, const TEXTMETRICA* metrics, DWORD type, LPARAM found) {
    auto* size = reinterpret_cast<int*>(found);
    if ((type & RASTER_FONTTYPE) && metrics->tmHeight - metrics->tmInternalLeading == *size &&
        PointSize(*metrics) == layout::kBitmapFontPoints) {
        *size = 0;
        return 0;
    }
    return 1;
}

// "MS Sans Serif" where the system holds its 8-pt bitmap with characters
// `height` pixels high. Windows loads one set of its sizes, for the DPI that
// the session started at; asked for another size, it gives the nearest or
// blows a small one up into blocks, and the scalable face is used instead. A
// larger size of the set that happens to be as high (the 14-pt one at 175 %)
// is heavier, unlike the type at every other scale, and is passed over too.
const char* TextFace(int height) {
    LOGFONTA wanted = {};
    wanted.lfCharSet = ANSI_CHARSET;
    lstrcpynA(wanted.lfFaceName, layout::kFontFace, LF_FACESIZE);
    int size = height;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &wanted, FindBitmapSize, reinterpret_cast<LPARAM>(&size), 0);
    ReleaseDC(nullptr, screen);
    return size == 0 ? layout::kFontFace : layout::kScalableFontFace;
}

HFONT CreateTextFont(const char* face, int height, bool underline) {
    return CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

}  // namespace

TextFonts CreateTextFonts(int dpi) {
    // A character height in pixels; points are 1/72 inch.
    const int height = MulDiv(layout::kFontSize, dpi, 7200);
    const char* face = TextFace(height);
    return {CreateTextFont(face, height, false), CreateTextFont(face, height, true)};
}

int CaptionWidth(std::string_view caption, HFONT font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE size = {};
    GetTextExtentPoint32A(screen, caption.data(), static_cast<int>(caption.size()), &size);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return size.cx;
}

}  // namespace kelvaro
