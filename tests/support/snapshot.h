// A folder and everything in it, read whole, to see what changed in it or
// that nothing did.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace kelvaro::testing {

// Path relative to the folder (a folder's ending in a separator) -> a file's
// bytes, or "<folder>". A file that cannot be read shows as empty.
using Tree = std::map<std::string, std::string>;

inline Tree Snapshot(const std::filesystem::path& root) {
    Tree tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string name = entry.path().lexically_relative(root).string();
        if (entry.is_directory()) {
            tree[name + static_cast<char>(std::filesystem::path::preferred_separator)] = "<folder>";
        } else {
            std::ifstream file(entry.path(), std::ios::binary);
            tree[name].assign(std::istreambuf_iterator<char>(file), {});
        }
    }
    return tree;
}

}  // namespace kelvaro::testing
