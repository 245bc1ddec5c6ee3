#include "checks.h"
#include "fakes.h"
#include "memory_registry.h"
#include "path_frm.h"
#include "pub_var.h"

namespace kelvaro::fuzz {

namespace {

constexpr std::string_view kEnding = "generals.exe";
constexpr char kWrongPath[] = "Wrong path selected! Try to locate generals.exe";
constexpr char kUntouched[] = "<GameFolder before Ok>";

// The dialog's "Ok" touches no file: any file call is reported in the journal.
class JournalFileSystem : public FileSystem {
  public:
    explicit JournalFileSystem(testing::Journal& journal) : journal_(journal) {}
    Entry Lookup(const std::string& path) override {
        journal_.push_back(Join("lookup ", path));
        return Entry::Missing;
    }
    Change Rename(const std::string& from, const std::string&) override {
        journal_.push_back(Join("rename ", from));
        return Change::Failed;
    }
    Change Delete(const std::string& path) override {
        journal_.push_back(Join("delete ", path));
        return Change::Failed;
    }
    Change Copy(const std::string& from, const std::string&) override {
        journal_.push_back(Join("copy ", from));
        return Change::Failed;
    }
    bool SameBytes(const std::string& first, const std::string&) override {
        journal_.push_back(Join("compare ", first));
        return false;
    }

  private:
    testing::Journal& journal_;
};

std::string Journal(const testing::Journal& journal) {
    std::string text;
    for (const std::string& event : journal) text += Join("[", Printable(event), "]");
    return text;
}

// "Ok" in the dialog: the folder goes to GameFolder and the dialog closes, or
// the message is shown and nothing else changes.
std::string CheckOkClick(const std::string& text, bool accepted) {
    testing::Journal journal;
    JournalFileSystem files(journal);
    MemoryRegistry registry;
    testing::FakeShell shell(journal);
    testing::FakeProcessStarter processes(journal);
    testing::FakeMessageBox messages(journal);
    testing::FakeElevation elevation(journal);
    testing::FakeMainFrmView mainView(journal);
    MainFrm mainFrm(Services{files, registry, shell, processes, messages, elevation}, mainView);
    testing::FakePathFrmView view(journal);
    view.text1 = text;
    PubVar::GameFolder = kUntouched;

    PathFrm(view, messages, mainFrm).Command1Click();

    testing::Journal wanted{accepted ? "unload PathFrm" : std::string("critical: ") + kWrongPath};
    std::string folder = accepted ? text.substr(0, text.size() - kEnding.size()) : kUntouched;
    std::string fault;
    if (journal != wanted) fault += Join("; events ", Journal(journal));
    if (!registry.calls.empty()) fault += "; read the registry";
    if (PubVar::GameFolder != folder) fault += Join("; GameFolder ", Quoted(PubVar::GameFolder));
    if (view.text1 != text) fault += Join("; text changed to ", Quoted(view.text1));
    PubVar::GameFolder.clear();
    return fault;
}

}  // namespace

std::string CheckAcceptGamePath(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool accepted = text.size() >= kEnding.size() &&
                          text.compare(text.size() - kEnding.size(), kEnding.size(), kEnding) == 0;

    std::optional<std::string> folder = AcceptGamePath(text);
    if (folder.has_value() != accepted) {
        return Join(Quoted(text), accepted ? " refused" : " accepted");
    }
    if (folder && *folder + std::string(kEnding) != text) {
        return Join(Quoted(text), " gave the folder ", Quoted(*folder));
    }
    std::string fault = CheckOkClick(text, accepted);
    return fault.empty() ? fault : Join(Quoted(text), ": Ok gave", fault.substr(1));
}

}  // namespace kelvaro::fuzz
