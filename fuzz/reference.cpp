#include "reference.h"

#include <vector>

#include "checks.h"

namespace kelvaro::fuzz {

std::uint32_t LittleEndian32(const unsigned char* bytes) {
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = number * 256 + bytes[i];
    return number;
}

std::string ExpectedValueText(std::uint32_t type, const unsigned char* stored, std::size_t size) {
    if (type == 1 || type == 2) {
        std::string text;
        for (std::size_t i = 0; i < size && stored[i] != 0; ++i) {
            text.push_back(static_cast<char>(stored[i]));
        }
        return text;
    }
    if (type == 4) {
        unsigned char first[4] = {};
        for (std::size_t i = 0; i < 4 && i < size; ++i) first[i] = stored[i];
        std::uint32_t number = LittleEndian32(first);
        std::string digits;
        do {
            digits.insert(digits.begin(), static_cast<char>('0' + number % 10));
            number /= 10;
        } while (number != 0);
        return digits;
    }
    return std::string();
}

ExpectedPath ExpectedRegistryPath(std::string_view path) {
    std::vector<std::string> pieces(1);
    for (char c : path) {
        if (c == '\\') {
            pieces.emplace_back();
        } else {
            pieces.back().push_back(c);
        }
    }
    ExpectedPath expected;
    for (std::size_t i = 1; i + 1 < pieces.size(); ++i) expected.keyPath += pieces[i] + "\\";
    expected.valueName = pieces.back();

    std::string hiveName;
    for (char c : pieces.front())
        hiveName.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    if (hiveName == "HKEY_CLASSES_ROOT") expected.hive = 0x80000000;
    if (hiveName == "HKEY_CURRENT_USER") expected.hive = 0x80000001;
    if (hiveName == "HKEY_LOCAL_MACHINE") expected.hive = 0x80000002;
    if (hiveName == "HKEY_USERS") expected.hive = 0x80000003;
    return expected;
}

std::string Quoted(std::string_view bytes) {
    // Long texts keep their two ends and their length, enough to tell them apart.
    if (bytes.size() <= 80) return Join("\"", Printable(bytes), "\"");
    return Join("\"", Printable(bytes.substr(0, 40)), "...",
                Printable(bytes.substr(bytes.size() - 24)), "\" (", std::to_string(bytes.size()),
                " bytes)");
}

std::string Printable(std::string_view bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (char c : bytes) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            text.push_back(c);
        } else if (byte == '\\') {
            text += "\\\\";
        } else {
            text += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        }
    }
    return text;
}

}  // namespace kelvaro::fuzz
