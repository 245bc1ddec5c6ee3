#include "number.h"

namespace kelvaro {

// Reads [-]digits[.digits] by hand: the run time's general conversion would
// bring its whole floating-point parser into a launcher that reads tier
// numbers only.
std::optional<double> NumberFromText(std::string_view text) {
    size_t at = 0;
    const bool negative = at < text.size() && text[at] == '-';
    if (negative) ++at;
    double value = 0;
    double scale = 1;
    bool digits = false;
    bool fraction = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.' && !fraction) {
            fraction = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            if (fraction) scale /= 10;
            value = fraction ? value + (c - '0') * scale : value * 10 + (c - '0');
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    return negative ? -value : value;
}

}  // namespace kelvaro
