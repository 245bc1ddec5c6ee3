#include "layout.h"

#include <oleacc.h>

#include <algorithm>

#include "texts.h"
#include "tiers.h"

namespace kelvaro::layout {

namespace {

constexpr DWORD kFixedBorder = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

const FormLayout kMainFrm = {"KelvaroMainFrm", texts::kMainCaption,
                             WS_OVERLAPPED | WS_MINIMIZEBOX | kFixedBorder, 361, 280};
const FormLayout kPathFrm = {"KelvaroPathFrm", texts::kPathCaption, kFixedBorder, 388, 73};

constexpr const char* kButtonClass = "Button";
constexpr const char* kStaticClass = "Static";
constexpr const char* kEditClass = "Edit";

constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP;
constexpr DWORD kLabel = SS_LEFT | WS_GROUP;
constexpr COLORREF kTech10BackColor = RGB(235, 235, 235);

struct Row {
    int id;
    const char* className;
    std::string_view text;
    DWORD style;
    int left, top, width, height, tab;
};

ControlLayout Control(Form form, const Row& row) {
    return {form,    row.id,   row.className, row.text,      row.style,
            0,       row.left, row.top,       row.width,     row.height,
            row.tab, {},       kBackColor,    COLOR_BTNTEXT, Font::Normal};
}

// The ten options stand in one column, tier 10 at the top. They form one
// group; the selected one carries the group's tab stop.
ControlLayout Tech(int index) {
    const Tier& tier = TierAt(index);
    ControlLayout tech = Control(Form::MainFrm, {TechId(index), kButtonClass, tier.caption,
                                                 static_cast<DWORD>(BS_AUTORADIOBUTTON), 16,
                                                 72 + 16 * (10 - index), 89, 13, index + 3});
    if (index == 1) tech.style |= WS_GROUP;
    tech.tag = tier.tag;
    if (index == 10) tech.back = kTech10BackColor;
    return tech;
}

std::vector<ControlLayout> BuildTable() {
    const Form main = Form::MainFrm;
    const Form path = Form::PathFrm;
    std::vector<ControlLayout> table = {
        Control(main, {kTopPic, kStaticClass, "", SS_OWNERDRAW | WS_GROUP, 0, 0, 361, 40, 0}),
        Control(main, {kCommand2, kButtonClass, "Quit", kButton, 168, 248, 89, 25, 1}),
        Control(main, {kCommand1, kButtonClass, "Start Generals", kButton, 264, 248, 89, 25, 2}),
    };
    for (int index = 1; index <= 10; ++index) table.push_back(Tech(index));
    table.push_back(
        Control(main, {kLabel2, kStaticClass, "Description:", kLabel, 144, 48, 57, 17, 14}));
    table.push_back(Control(main, {kLabel1, kStaticClass, "", kLabel, 152, 80, 201, 145, 15}));
    table.push_back(
        Control(main, {kLabel3, kStaticClass, "Select a Tech level:", kLabel, 8, 48, 97, 17, 16}));
    // A label that is a link for the mouse, the keyboard (right after "Start
    // Generals") and screen readers.
    ControlLayout link = Control(main, {kLabel4, kStaticClass, "Visit Website",
                                        kLabel | SS_NOTIFY | WS_TABSTOP, 8, 260, 65, 13, 3});
    link.textColor = COLOR_HIGHLIGHT;
    link.font = Font::Link;
    link.accessibleRole = ROLE_SYSTEM_LINK;
    table.push_back(link);

    ControlLayout label1 =
        Control(path, {kPathLabel1, kStaticClass, "Generals path:", kLabel, 8, 18, 73, 17, 1});
    label1.names = kText1;
    table.push_back(label1);
    ControlLayout text1 = Control(
        path, {kText1, kEditClass, "", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, 88, 16, 257, 19, 0});
    text1.exStyle = WS_EX_CLIENTEDGE;
    table.push_back(text1);
    ControlLayout command3 =
        Control(path, {kPathCommand3, kButtonClass, "...", kButton, 352, 16, 25, 17, 4});
    command3.accessibleName = "Browse";
    table.push_back(command3);
    table.push_back(
        Control(path, {kPathCommand1, kButtonClass, "Ok", kButton, 296, 40, 81, 25, 2}));
    table.push_back(
        Control(path, {kPathCommand2, kButtonClass, "Quit", kButton, 208, 40, 81, 25, 3}));
    return table;
}

const std::vector<ControlLayout>& Table() {
    static const std::vector<ControlLayout> table = BuildTable();
    return table;
}

}  // namespace

const FormLayout& FormOf(Form form) {
    return form == Form::MainFrm ? kMainFrm : kPathFrm;
}

std::vector<ControlLayout> ControlsOf(Form form) {
    std::vector<ControlLayout> controls;
    for (const ControlLayout& control : Table()) {
        if (control.form == form) controls.push_back(control);
    }
    std::sort(controls.begin(), controls.end(),
              [](const ControlLayout& a, const ControlLayout& b) { return a.tab < b.tab; });
    std::vector<ControlLayout> zOrder;
    for (const ControlLayout& control : controls) {
        if (control.names != 0) continue;
        for (const ControlLayout& label : controls) {
            if (label.names == control.id) zOrder.push_back(label);
        }
        zOrder.push_back(control);
    }
    return zOrder;
}

bool IsOneLineLabel(const ControlLayout& control) {
    return control.className == std::string_view(kStaticClass) && !control.text.empty();
}

const ControlLayout* FindControl(int id) {
    for (const ControlLayout& control : Table()) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

}  // namespace kelvaro::layout
