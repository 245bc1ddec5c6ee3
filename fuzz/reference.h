// What the registry path reader should give, worked out a second, simpler way
// (piece by piece, digit by digit) for the checks to compare against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvaro::fuzz {

std::uint32_t LittleEndian32(const unsigned char* bytes);

// The text a value of this type and these stored bytes (at most 1024) reads as.
std::string ExpectedValueText(std::uint32_t type, const unsigned char* stored, std::size_t size);

struct ExpectedPath {
    std::optional<std::uint32_t> hive;  // nothing for a name outside the hive table
    std::string keyPath;
    std::string valueName;
};
ExpectedPath ExpectedRegistryPath(std::string_view path);

}  // namespace kelvaro::fuzz
