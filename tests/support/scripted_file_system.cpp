#include "scripted_file_system.h"

namespace kelvaro::testing {

std::string ScriptedFileSystem::Short(const std::string& path) const {
    for (const auto& [folder, name] : names_) {
        if (path.starts_with(folder)) return name + path.substr(folder.size());
    }
    return path;
}

bool ScriptedFileSystem::Attempt(const std::string& line) {
    if (changes == killAt) throw Killed{};
    ++changes;
    journal_.push_back(line);
    return !failing.contains(line);
}

Entry ScriptedFileSystem::Lookup(const std::string& path) {
    std::string name = Short(path);
    journal_.push_back("lookup " + name);
    auto answer = answers.find(name);
    return answer != answers.end() ? answer->second : disk_.Lookup(path);
}

bool ScriptedFileSystem::Rename(const std::string& from, const std::string& to) {
    return Attempt("rename " + Short(from) + " -> " + Short(to)) && disk_.Rename(from, to);
}

bool ScriptedFileSystem::Delete(const std::string& path) {
    return Attempt("delete " + Short(path)) && disk_.Delete(path);
}

bool ScriptedFileSystem::Copy(const std::string& from, const std::string& to) {
    return Attempt("copy " + Short(from) + " -> " + Short(to)) && disk_.Copy(from, to);
}

}  // namespace kelvaro::testing
