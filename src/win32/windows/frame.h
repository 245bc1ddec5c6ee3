// What the launcher's two windows share: the window procedure that hands each
// message to the window's object, the controls built from the layout table at
// the window's DPI, its font, colours and icon, and the keyboard focus, which
// comes back to the same control when the window is activated again.
#pragma once

#include "desktop.h"
#include "layout.h"
#include "look.h"
#include "screen_reader_names.h"
#include "windows_api.h"

namespace kelvaro {

class Frame {
  public:
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    HWND Hwnd() const { return hwnd_; }
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

  protected:
    Frame(HINSTANCE instance, layout::Form form, Desktop& desktop);
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

    HINSTANCE instance_;
    Desktop& desktop_;
    HWND hwnd_ = nullptr;
    Look look_;

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

    layout::Form form_;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;  // the DPI that the controls and the fonts are made for
    HFONT font_ = nullptr;
    HFONT linkFont_ = nullptr;
    bool fitWhenRestored_ = false;  // the frame waits for the minimised window's restore
    HWND lastFocus_ = nullptr;
    ScreenReaderNames names_;
};

}  // namespace kelvaro
