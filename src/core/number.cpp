#include "number.h"

#include <charconv>
#include <cmath>

namespace kelvaro {

std::optional<double> NumberFromText(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    // from_chars also reads "nan" and "inf", which are not decimal numbers.
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace kelvaro
