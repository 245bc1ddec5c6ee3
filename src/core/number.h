// Numbers read from text: a tier's Tag as the launcher reads it.
#pragma once

#include <optional>
#include <string_view>

namespace kelvaro {

// The numeric value of a text that is a decimal number as a whole, such as a
// tier's Tag; nothing for any other text, the empty text included.
std::optional<double> NumberFromText(std::string_view text);

}  // namespace kelvaro
