// PathFrm's dialog: the modal window in which the player names generals.exe.
// It only hands its button clicks to the launcher's PathFrm and shows what
// that decides.
#pragma once

#include <functional>

#include "frame.h"
#include "main_frm.h"
#include "path_frm.h"
#include "platform.h"

namespace kelvaro {

class PathWindow : public Frame, public PathFrmView {
  public:
    // `endProcess` ends the launcher the way its main window does.
    PathWindow(HINSTANCE instance, Desktop& desktop, MessageBox& messages, MainFrm& mainFrm,
               std::function<void()> endProcess);

    // Creates the dialog hidden; false when the platform refuses.
    bool Create() { return CreateFrame(); }
    // Shows the dialog and returns once it has been destroyed.
    void RunModal();

    std::string Text1() override;
    void SetText1(const std::string& text) override;
    void ShowOpenBox(std::string* fileName) override;
    void Unload() override;
    void EndProcess() override;

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id);

    PathFrm frm_;
    std::function<void()> endProcess_;
};

}  // namespace kelvaro
