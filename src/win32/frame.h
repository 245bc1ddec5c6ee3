// What the launcher's two windows share: the window procedure that hands each
// message to the window's object, the look (background, font, colours, icon),
// the controls built from the layout table, and the keyboard focus, which
// comes back to the same control when the window is activated again. The
// look is in frame_look.cpp, what screen readers are told in
// frame_screen_readers.cpp.
#pragma once

#include <windows.h>
// The launcher's own MessageBox interface keeps its name; Windows' box is MessageBoxA.
#undef MessageBox

#include <map>

#include "layout.h"

struct IAccPropServices;

namespace kelvaro {

// Whether the system's high-contrast mode is on.
bool HighContrastOn();

// SystemParametersInfoA, for the settings that the windows read. Alone in
// system_parameters.cpp, so that a test can link its own: Wine cannot turn
// high contrast on.
BOOL ReadSystemParameter(UINT action, UINT size, void* value);

class Frame {
  public:
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    HWND Hwnd() const { return hwnd_; }
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

  protected:
    Frame(HINSTANCE instance, layout::Form form);
    virtual ~Frame();

    // Creates the window hidden, centred on the screen; false when the
    // platform refuses.
    bool CreateFrame();
    // Builds the form's controls from the layout table at the window's DPI;
    // for WM_CREATE.
    void CreateControls();
    // A box of the layout table, in pixels at 96 dpi, in pixels at the
    // window's DPI. Its edges are scaled, so neighbours keep their gaps.
    RECT Scaled(const RECT& box) const;
    // Messages that a window does not handle itself come here.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HBRUSH Brush(COLORREF color);
    // The background of a control of the table, or of the window (nullptr):
    // the table's colour, or the system's in high contrast.
    COLORREF BackColor(const layout::ControlLayout* row = nullptr) const;
    COLORREF RuleColor() const;

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void RegisterFrameClass() const;
    SIZE FrameSize(int dpi) const;
    RECT CentredFrame(int dpi) const;
    RECT ControlBox(const layout::ControlLayout& row) const;
    HFONT FontOf(const layout::ControlLayout& row) const;
    void MakeFonts();
    void OnDpiChanged(int dpi, const RECT& suggested);
    void FitClientArea();
    void OnLookChanged();
    void OnColorsChanged();
    void OnEraseBackground(HDC dc);
    LRESULT OnCtlColor(HDC dc, HWND control);
    // Tells screen readers the name (unless empty) and the role (unless 0)
    // of a control whose class and caption do not, until the window goes.
    void Annotate(HWND control, std::string_view name, long role);
    void ForgetAnnotations();

    layout::Form form_;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;  // the DPI that the controls and the fonts are made for
    HFONT font_ = nullptr;
    HFONT linkFont_ = nullptr;
    bool highContrast_ = false;
    bool fitWhenRestored_ = false;  // the frame waits for the minimised window's restore
    HWND lastFocus_ = nullptr;
    std::map<COLORREF, HBRUSH> brushes_;
    IAccPropServices* annotations_ = nullptr;
};

}  // namespace kelvaro
