// Recording stand-ins for the parts of the outside world that a test does not
// take for real. Each keeps what the launcher asked of it, in order.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform.h"
#include "tiers.h"

namespace kelvaro::testing {

// One shared journal, so that a test can check the order of events across
// the shell, message boxes, process starts and windows.
using Journal = std::vector<std::string>;

struct ShownMessage {
    std::string text;
    Icon icon;
};

class FakeMessageBox : public MessageBox {
  public:
    explicit FakeMessageBox(Journal& journal) : journal_(journal) {}
    void Show(const std::string& text, Icon icon) override {
        shown.push_back({text, icon});
        journal_.push_back(std::string(icon == Icon::Critical ? "critical: " : "exclamation: ") +
                           text);
    }
    bool Ask(const std::string& text) override {
        asked.push_back(text);
        journal_.push_back("question: " + text);
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return yes;
    }
    std::vector<ShownMessage> shown;
    std::vector<std::string> asked;
    std::deque<bool> answers;  // the player's answers to the next questions; then No

  private:
    Journal& journal_;
};

class FakeShell : public Shell {
  public:
    explicit FakeShell(Journal& journal) : journal_(journal) {}
    std::string GetSpecialFolder(int folderId) override {
        journal_.push_back("special folder " + std::to_string(folderId));
        return folderId == 5 ? documents : std::string();
    }
    void OpenWebPage(const std::string& target) override {
        journal_.push_back("open web page " + target);
    }
    void InitControlStyles() override { journal_.push_back("init control styles"); }
    std::string documents;

  private:
    Journal& journal_;
};

struct StartedProcess {
    std::string application;
    std::string commandLine;
};

class FakeProcessStarter : public ProcessStarter {
  public:
    explicit FakeProcessStarter(Journal& journal) : journal_(journal) {}
    bool Start(const std::string& application, const std::string& commandLine,
               std::string* reason) override {
        started.push_back({application, commandLine});
        journal_.push_back("start " + commandLine);
        if (!failure.empty()) *reason = failure;
        return failure.empty();
    }
    std::vector<StartedProcess> started;
    std::string failure;  // when set, every start fails with this reason

  private:
    Journal& journal_;
};

class FakeElevation : public Elevation {
  public:
    explicit FakeElevation(Journal& journal) : journal_(journal) {}
    bool HasEveryRight() override { return hasEveryRight; }
    Grant GrantDataFolder(const std::string& gameFolder, std::string* reason) override {
        journal_.push_back("grant " + gameFolder + "Data\\");
        granted.push_back(gameFolder);
        if (outcome == Grant::Failed) *reason = "The file cannot be accessed by the system.";
        if (outcome == Grant::Made && onGrant) onGrant();
        return outcome;
    }
    bool hasEveryRight = false;
    Grant outcome = Grant::Made;
    std::function<void()> onGrant;     // what the grant changes on disk
    std::vector<std::string> granted;  // the game folder of each grant asked for

  private:
    Journal& journal_;
};

// The main window's controls: ten options tagged from the tier catalogue.
class FakeMainFrmView : public MainFrmView {
  public:
    explicit FakeMainFrmView(Journal& journal) : journal_(journal) {}
    std::string TechTag(int index) override { return std::string(TierAt(index).tag); }
    void CheckTech(int index) override {
        checked = index;
        journal_.push_back("check Tech(" + std::to_string(index) + ")");
    }
    void SetLabel1(const std::string& caption) override {
        label1 = caption;
        journal_.push_back("Label1 " + caption);
    }
    void ShowPathFrm() override {
        journal_.push_back("show PathFrm");
        if (onShowPathFrm) onShowPathFrm();
    }
    void UnloadWindows() override { journal_.push_back("unload windows"); }
    void EndProcess() override {
        ended = true;
        journal_.push_back("end process");
    }
    int checked = 0;
    std::string label1;
    bool ended = false;
    std::function<void()> onShowPathFrm;

  private:
    Journal& journal_;
};

class FakePathFrmView : public PathFrmView {
  public:
    explicit FakePathFrmView(Journal& journal) : journal_(journal) {}
    std::string Text1() override { return text1; }
    void SetText1(const std::string& text) override { text1 = text; }
    void ShowOpenBox(std::string* fileName) override {
        journal_.push_back("open box");
        if (!nextChoice.empty()) *fileName = nextChoice;
        nextChoice.clear();
    }
    void Unload() override { journal_.push_back("unload PathFrm"); }
    void EndProcess() override { journal_.push_back("end process"); }
    std::string text1;
    std::string nextChoice;  // what the player picks in the next open box; empty = cancel

  private:
    Journal& journal_;
};

}  // namespace kelvaro::testing
