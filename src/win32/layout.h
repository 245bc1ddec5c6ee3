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
    int tab;               // position in the tab order, which is also the z-order
    std::string_view tag;  // a tier option's Tag
    COLORREF back;         // background of labels and options
    int textColor;         // system colour index of the text
    Font font;
};

// The controls of one window, in tab order.
std::vector<ControlLayout> ControlsOf(Form form);
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

// "MS Sans Serif" 8.25 pt, the size in hundredths of a point.
inline constexpr const char* kFontFace = "MS Sans Serif";
inline constexpr int kFontSize = 825;

}  // namespace kelvaro::layout
