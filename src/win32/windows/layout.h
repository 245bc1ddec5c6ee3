// The look and the layout of the launcher's two windows: every caption, size,
// style and control id in one place. Positions are pixels at 96 dpi, from the
// top-left corner of the client area; the windows scale them to the display's
// DPI where they apply them.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

namespace kelvaro::layout {

// Control ids, in a range of their own. IDOK and IDCANCEL are never used: the
// windows ignore them, so Enter and Esc do nothing.
enum ControlId : int {
    kTopPic = 1000,
    kCommand2,
    kCommand1,
    kTech1,  // Tech(N) is kTech1 + N - 1
    kLabel2 = kTech1 + 10,
    kLabel1,
    kLabel3,
    kLabel4,

    kPathLabel1 = 1100,
    kText1,
    kPathCommand3,
    kPathCommand1,
    kPathCommand2,
};

constexpr int TechId(int index) {
    return kTech1 + index - 1;
}
constexpr int TechIndex(int id) {
    return id - kTech1 + 1;
}
constexpr bool IsTech(int id) {
    return id >= kTech1 && id < kTech1 + 10;
}

enum class Form { MainFrm, PathFrm };

struct FormLayout {
    const char* className;
    std::string_view caption;
    DWORD style;
    int clientWidth;
    int clientHeight;
};

const FormLayout& FormOf(Form form);

enum class Font { Normal, Link };

struct ControlLayout {
    Form form;
    int id;
    const char* className;
    std::string_view text;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE
    DWORD exStyle;
    int left;
    int top;
    int width;
    int height;
    int tab;               // position in the tab order
    std::string_view tag;  // a tier option's Tag
    COLORREF back;         // background of labels and options
    int textColor;         // system colour index of the text
    Font font;
    // A label that names the control with this id: it comes right before that
    // control in z-order, where screen readers look for an edit box's name.
    int names = 0;
    // What screen readers say for a control whose caption says nothing.
    std::string_view accessibleName = {};
    // What screen readers call a control that its class does not tell (an
    // MSAA role), or 0.
    long accessibleRole = 0;
};

// The controls of one window in z-order: the tab order, each naming label
// right before the control it names (labels take no focus).
std::vector<ControlLayout> ControlsOf(Form form);
// A label with a caption of one line, never narrower than that caption.
bool IsOneLineLabel(const ControlLayout& control);
const ControlLayout* FindControl(int id);

// The main window's rules, one pixel wide, both ends included.
struct Line {
    int x1;
    int y1;
    int x2;
    int y2;
};
inline constexpr Line kLine1 = {0, 40, 360, 40};
inline constexpr Line kLine2 = {0, 240, 360, 240};
inline constexpr Line kLine3 = {128, 40, 128, 240};
inline constexpr int kLineColor = COLOR_APPWORKSPACE;

inline constexpr COLORREF kBackColor = RGB(235, 233, 237);
inline constexpr int kBannerHeight = 40;

// "MS Sans Serif" 8.25 pt, the size in hundredths of a point. It is a bitmap
// font of a few sizes; at a size it lacks, its scalable successor, made to
// its measure, takes its place.
inline constexpr const char* kFontFace = "MS Sans Serif";
inline constexpr const char* kScalableFontFace = "Microsoft Sans Serif";
inline constexpr int kFontSize = 825;
// The size of the bitmap font's set that is that type: 8 pt (8.25 pt is its
// character height at 96 dpi).
inline constexpr int kBitmapFontPoints = 8;

}  // namespace kelvaro::layout
