#include "launcher_rig.h"

#include "pub_var.h"

namespace kelvaro::testing {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kLocalMachine = 0x80000002;

std::string Contents(const fs::path& file) {
    if (!fs::exists(file)) return "none";
    std::string bytes = GameInstall::ReadFile(file);
    if (bytes == GameInstall::kGameScriptBytes) return "own";
    for (int tier = 1; tier <= 3; ++tier) {
        if (bytes == GameInstall::TierScriptBytes(tier)) return "tier " + std::to_string(tier);
    }
    return "unknown";
}

}  // namespace

LauncherRig::LauncherRig() {
    install.MakePristineGame();
    for (int tier = 1; tier <= 9; ++tier) install.AddArchive(tier);
    for (int tier = 1; tier <= 3; ++tier) install.AddTierScript(tier);
    registry.SetString(kLocalMachine, "SOFTWARE\\Electronic Arts\\EA Games\\Generals",
                       "InstallPath", install.GameFolder());
    shell.documents = install.DocumentsFolder();
    files.Abbreviate(install.GameFolder(), "<game>");
    files.Abbreviate(DataFolder(), "<data>");
    PubVar::GameFolder.clear();
    pristine = GameTree();
}

LauncherRig::~LauncherRig() {
    PubVar::GameFolder.clear();
}

std::unique_ptr<MainFrm> LauncherRig::NewMainFrm() {
    auto frm = std::make_unique<MainFrm>(
        Services{files, registry, shell, processes, messages, elevation}, view);
    frm->Initialize();
    return frm;
}

std::unique_ptr<MainFrm> LauncherRig::StartUp() {
    std::unique_ptr<MainFrm> frm = NewMainFrm();
    frm->Load();
    frm->Shown();
    return frm;
}

void LauncherRig::Run(const std::vector<std::string>& steps) {
    for (const std::string& step : steps) {
        if (step == "start-up") {
            frm = StartUp();
        } else if (step == "restore") {
            frm->MoveScriptFile("Restore");
        } else if (step == "quit") {
            frm->Command2Click();
        } else if (step == "drop script") {
            fs::remove(Game(kScript));
        } else if (step.starts_with("press ")) {
            frm->TechClick(std::stoi(step.substr(6)));
            frm->Command1Click();
        } else {
            frm->SelectedLevel = step;
            frm->MoveScriptFile("Start");
        }
    }
}

std::string LauncherRig::GameState() const {
    bool ini = fs::exists(Game(kIni));
    bool hidden = fs::exists(Game(kHiddenIni));
    std::string folders = ini && hidden ? "INI+xINIx" : ini ? "INI" : hidden ? "xINIx" : "no INI";
    return folders + ", script " + Contents(Game(kScript)) + ", backup " + Contents(Game(kBackup));
}

std::string LauncherRig::Refusal() const {
    return "Kelvaro Mod cannot change the game folder\n\n" + install.GameFolder() + "\n\n";
}

std::string LauncherRig::DataFolder() const {
    return install.DocumentsFolder() + "\\Command and Conquer Generals Data\\";
}

}  // namespace kelvaro::testing
