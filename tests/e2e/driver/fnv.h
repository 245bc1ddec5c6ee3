// The fingerprint that the stand-in game logs of the AI script it finds, and
// that the tests compare with the bytes they wrote: FNV-1a, 64 bits, as 16
// lower-case hex digits.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace kelvaro::e2e {

inline std::string Fingerprint(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace kelvaro::e2e
