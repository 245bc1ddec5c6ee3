#include "memory_registry.h"

#include <cstring>

namespace kelvaro {

namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

MemoryRegistry::KeyId MemoryRegistry::Id(std::uint32_t hive, const std::string& keyPath) {
    std::string path = Lower(keyPath);
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return {hive, path};
}

void MemoryRegistry::SetValue(std::uint32_t hive, const std::string& keyPath,
                              const std::string& name, std::uint32_t type,
                              std::vector<unsigned char> data) {
    KeyId id = Id(hive, keyPath);
    // Like the real registry, a key's parents exist too.
    for (size_t end = id.second.find('\\'); end != std::string::npos;
         end = id.second.find('\\', end + 1)) {
        keys_[{hive, id.second.substr(0, end)}];
    }
    keys_[id].values[Lower(name)] = Value{type, std::move(data)};
}

void MemoryRegistry::SetString(std::uint32_t hive, const std::string& keyPath,
                               const std::string& name, const std::string& text) {
    std::vector<unsigned char> data(text.begin(), text.end());
    data.push_back(0);
    SetValue(hive, keyPath, name, 1, std::move(data));
}

void MemoryRegistry::DenyAccess(std::uint32_t hive, const std::string& keyPath) {
    keys_[Id(hive, keyPath)].denied = true;
}

long MemoryRegistry::OpenKey(std::uint32_t hive, const std::string& subKey, std::uint32_t,
                             std::uint32_t access, RegHandle* key) {
    calls.push_back({"open", hive, subKey, access});
    KeyId id = Id(hive, subKey);
    auto found = keys_.find(id);
    if (found == keys_.end() && !id.second.empty()) return kFileNotFound;
    if (found != keys_.end() && found->second.denied) return kAccessDenied;
    *key = nextHandle_++;
    open_[*key] = id;
    return 0;
}

long MemoryRegistry::QueryValue(RegHandle key, const std::string& name, std::uint32_t* type,
                                unsigned char* data, std::uint32_t* size) {
    calls.push_back({"query", 0, name, 0});
    auto handle = open_.find(key);
    if (handle == open_.end()) return kInvalidHandle;
    auto found = keys_.find(handle->second);
    if (found == keys_.end()) return kFileNotFound;
    auto value = found->second.values.find(Lower(name));
    if (value == found->second.values.end()) return kFileNotFound;
    const std::vector<unsigned char>& bytes = value->second.data;
    *type = value->second.type;
    if (bytes.size() > *size) {
        *size = static_cast<std::uint32_t>(bytes.size());
        return kMoreData;
    }
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    *size = static_cast<std::uint32_t>(bytes.size());
    return 0;
}

void MemoryRegistry::CloseKey(RegHandle key) {
    calls.push_back({"close", 0, "", 0});
    open_.erase(key);
}

}  // namespace kelvaro
