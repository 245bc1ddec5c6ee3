// RegKeys: reads one registry value named by a single full path such as
// "HKEY_LOCAL_MACHINE\SOFTWARE\...\InstallPath". Every failure is the empty text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform.h"

namespace kelvaro::RegKeys {

// Read rights only (KEY_READ): the key is only ever read, and Windows grants
// more than that in the game's key to administrators alone.
inline constexpr std::uint32_t kAccessMask = 0x20019;
inline constexpr std::uint32_t kDataAreaSize = 1024;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegDword = 4;

struct RegistryPath {
    std::string hiveName;
    std::string keyPath;
    std::string valueName;
};

// Takes the path apart at every backslash: piece 0 names the hive, the last
// piece the value, and the pieces between form the key path, each followed by
// a backslash.
RegistryPath SplitRegistryPath(std::string_view path);

// The predefined key of a hive name, compared after upper-casing.
std::optional<std::uint32_t> HiveHandle(std::string_view hiveName);

// The text of a value's data, by its registry type; empty for other types.
std::string DecodeValue(std::uint32_t type, const unsigned char (&data)[kDataAreaSize]);

std::string ReadRegistryPath(Registry& registry, std::string_view path);
std::string QueryRegistryValue(Registry& registry, std::uint32_t hive, const std::string& keyPath,
                               const std::string& valueName);

}  // namespace kelvaro::RegKeys
