#include "reg_keys.h"

#include <array>
#include <cstring>
#include <utility>

namespace kelvaro::RegKeys {

namespace {

constexpr std::array<std::pair<std::string_view, std::uint32_t>, 4> kHives = {{
    {"HKEY_CURRENT_USER", 0x80000001},
    {"HKEY_LOCAL_MACHINE", 0x80000002},
    {"HKEY_CLASSES_ROOT", 0x80000000},
    {"HKEY_USERS", 0x80000003},
}};

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

}  // namespace

RegistryPath SplitRegistryPath(std::string_view path) {
    RegistryPath parts;
    size_t first = path.find('\\');
    parts.hiveName = std::string(path.substr(0, first));
    if (first == std::string_view::npos) {
        parts.valueName = parts.hiveName;
        return parts;
    }
    size_t last = path.rfind('\\');
    parts.keyPath = std::string(path.substr(first + 1, last - first));
    parts.valueName = std::string(path.substr(last + 1));
    return parts;
}

std::optional<std::uint32_t> HiveHandle(std::string_view hiveName) {
    std::string upper = UpperCase(hiveName);
    for (const auto& [name, handle] : kHives) {
        if (upper == name) return handle;
    }
    return std::nullopt;
}

std::string DecodeValue(std::uint32_t type, const unsigned char (&data)[kDataAreaSize]) {
    if (type == kRegSz || type == kRegExpandSz) {
        const char* text = reinterpret_cast<const char*>(data);
        return std::string(text, strnlen(text, kDataAreaSize));
    }
    if (type == kRegDword) {
        std::uint32_t number =
            static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
            static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
        return std::to_string(number);
    }
    return std::string();
}

std::string ReadRegistryPath(Registry& registry, std::string_view path) {
    RegistryPath parts = SplitRegistryPath(path);
    std::optional<std::uint32_t> hive = HiveHandle(parts.hiveName);
    if (!hive) return std::string();
    return QueryRegistryValue(registry, *hive, parts.keyPath, parts.valueName);
}

std::string QueryRegistryValue(Registry& registry, std::uint32_t hive, const std::string& keyPath,
                               const std::string& valueName) {
    RegHandle key = 0;
    if (registry.OpenKey(hive, keyPath, 0, kAccessMask, &key) != 0) return std::string();

    unsigned char data[kDataAreaSize] = {};
    std::uint32_t size = kDataAreaSize;
    std::uint32_t type = 0;
    std::string answer;
    if (registry.QueryValue(key, valueName, &type, data, &size) == 0) {
        answer = DecodeValue(type, data);
    }
    registry.CloseKey(key);
    return answer;
}

}  // namespace kelvaro::RegKeys
