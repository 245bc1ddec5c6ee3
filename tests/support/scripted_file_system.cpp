#include "scripted_file_system.h"

namespace kelvaro::testing {

std::string ScriptedFileSystem::Short(const std::string& path) const {
    for (const auto& [folder, name] : names_) {
        if (path.starts_with(folder)) return name + path.substr(folder.size());
    }
    return path;
}

template <class Disk>
Change ScriptedFileSystem::Attempt(const std::string& line, Disk change) {
    if (changes == killAt) throw Killed{};
    ++changes;
    journal_.push_back(line);
    if (failing.contains(line)) return Change::Failed;
    if (refusing.contains(line)) return Change::Refused;
    return change();
}

Entry ScriptedFileSystem::Lookup(const std::string& path) {
    std::string name = Short(path);
    journal_.push_back("lookup " + name);
    auto answer = answers.find(name);
    return answer != answers.end() ? answer->second : disk_.Lookup(path);
}

Change ScriptedFileSystem::Rename(const std::string& from, const std::string& to) {
    return Attempt("rename " + Short(from) + " -> " + Short(to),
                   [&] { return disk_.Rename(from, to); });
}

Change ScriptedFileSystem::Delete(const std::string& path) {
    return Attempt("delete " + Short(path), [&] { return disk_.Delete(path); });
}

Change ScriptedFileSystem::Copy(const std::string& from, const std::string& to) {
    return Attempt("copy " + Short(from) + " -> " + Short(to),
                   [&] { return disk_.Copy(from, to); });
}

bool ScriptedFileSystem::SameBytes(const std::string& first, const std::string& second) {
    journal_.push_back("compare " + Short(first) + " with " + Short(second));
    return disk_.SameBytes(first, second);
}

}  // namespace kelvaro::testing
