#include "path_frm.h"

#include "pub_var.h"
#include "texts.h"

namespace kelvaro {

std::optional<std::string> AcceptGamePath(std::string_view text) {
    const std::string_view ending = texts::kGameProgram;
    if (text.size() < ending.size() || text.substr(text.size() - ending.size()) != ending) {
        return std::nullopt;
    }
    return std::string(text.substr(0, text.size() - ending.size()));
}

PathFrm::PathFrm(PathFrmView& view, MessageBox& messages, MainFrm& mainFrm)
    : view_(view), messages_(messages), mainFrm_(mainFrm) {}

void PathFrm::Command1Click() {
    std::optional<std::string> folder = AcceptGamePath(view_.Text1());
    if (!folder) {
        messages_.Show(std::string(texts::kWrongPath), Icon::Critical);
        return;
    }
    PubVar::GameFolder = *folder;
    view_.Unload();
}

void PathFrm::Command2Click() {
    mainFrm_.QueryUnload();
    view_.Unload();
    view_.EndProcess();
}

void PathFrm::Command3Click() {
    view_.ShowOpenBox(&cd1FileName_);
    view_.SetText1(cd1FileName_);
}

}  // namespace kelvaro
