// The fuzz targets' checks. Each takes one input, runs the code under test on
// it and returns what went wrong, or the empty text. They are plain C++, so the
// same checks drive the libFuzzer programs and replay the corpus as a test in
// every build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvaro::fuzz {

using Check = std::string (*)(const std::uint8_t* data, std::size_t size);

// Input: one byte saying what the registry holds (see the .cpp), four bytes of
// value type, then the registry path, a zero byte, and the value's data.
std::string CheckRegistryPath(const std::uint8_t* data, std::size_t size);
// Input: four bytes of value type, then the data area's bytes.
std::string CheckDecodeValue(const std::uint8_t* data, std::size_t size);
// Input: the text the player typed into the game location dialog.
std::string CheckAcceptGamePath(const std::uint8_t* data, std::size_t size);

struct Target {
    const char* name;  // also the name of its corpus folder and dictionary
    Check check;
};

inline constexpr Target kTargets[] = {
    {"registry_path", CheckRegistryPath},
    {"decode_value", CheckDecodeValue},
    {"accept_game_path", CheckAcceptGamePath},
};

// Bytes made readable for a fault report: printable ASCII as is, the rest as \xNN.
std::string Printable(std::string_view bytes);
// The same between double quotes, shortened in the middle when long.
std::string Quoted(std::string_view bytes);

// Joins the pieces of a fault report. (Appending, rather than operator+ on
// temporaries, which GCC 12 at -O3 warns about wrongly.)
template <typename... Pieces>
std::string Join(const Pieces&... pieces) {
    std::string text;
    (text.append(pieces), ...);
    return text;
}

}  // namespace kelvaro::fuzz
