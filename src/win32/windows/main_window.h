// MainFrm's window: the banner, the ten tier options, the description, the
// link and the two buttons. It hands each control event to the launcher's
// MainFrm and shows what that decides.
#pragma once

#include <functional>
#include <string>

#include "frame.h"
#include "layout.h"
#include "main_frm.h"
#include "platform.h"

namespace kelvaro {

class PathWindow;

class MainWindow : public Frame, public MainFrmView {
  public:
    // `setMessageOwner` learns which launcher window message boxes belong to:
    // none during start-up, the dialog while it is open, this window once shown.
    MainWindow(HINSTANCE instance, Services services, Desktop& desktop,
               std::function<void(HWND)> setMessageOwner);
    ~MainWindow() override;

    // The launcher's start as the player sees it: initialisation, the window
    // built hidden, the start-up sequence, then the window shown, with what
    // start-up could not change offered in front of it. False, with nothing
    // touched, when the platform refuses to create the window.
    bool Open(int showCommand);
    // Runs the launcher's events until the process ends through the exit
    // sequence, which a quit request runs too.
    void RunMessageLoop();

    std::string TechTag(int index) override;
    void CheckTech(int index) override;
    void SetLabel1(const std::string& caption) override;
    void ShowPathFrm() override;
    void UnloadWindows() override;
    void EndProcess() override;

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCreate();
    void OnCommand(int id);
    void OnTechClicked(int index);
    bool OnSetCursor(HWND under, int hitTest);
    void OnSize(int width);
    void OnPaint();
    void OnDrawBanner(const DRAWITEMSTRUCT& item);
    void SelectTech(int index);

    MessageBox& messages_;
    std::function<void(HWND)> setMessageOwner_;
    MainFrm frm_;
    int selectedTech_ = 0;
    int clientWidth_ = layout::kLine1.x2;  // W of the resize rule, where Line1 ends
    HBITMAP banner_ = nullptr;
    HCURSOR linkCursor_ = nullptr;
    PathWindow* pathWindow_ = nullptr;
};

}  // namespace kelvaro
