#include <cstring>

#include "checks.h"
#include "reference.h"
#include "reg_keys.h"

namespace kelvaro::fuzz {

std::string CheckDecodeValue(const std::uint8_t* data, std::size_t size) {
    unsigned char type[4] = {};
    std::memcpy(type, data, size < 4 ? size : 4);
    std::uint32_t typeCode = LittleEndian32(type);
    std::size_t stored = size > 4 ? size - 4 : 0;
    if (stored > RegKeys::kDataAreaSize) stored = RegKeys::kDataAreaSize;
    unsigned char area[RegKeys::kDataAreaSize] = {};
    if (stored > 0) std::memcpy(area, data + 4, stored);

    std::string text = RegKeys::DecodeValue(typeCode, area);
    if (text.size() > RegKeys::kDataAreaSize) {
        return Join("text of ", std::to_string(text.size()), " bytes from a 1024-byte area");
    }
    std::string expected = ExpectedValueText(typeCode, area, stored);
    if (text != expected) {
        return Join("type ", std::to_string(typeCode), " gave ", Quoted(text), ", expected ",
                    Quoted(expected));
    }
    return std::string();
}

}  // namespace kelvaro::fuzz
