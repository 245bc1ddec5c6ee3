// The system's own words for a Windows error code, as the launcher tells them.
#pragma once

#include <string>

#include "windows_api.h"

namespace kelvaro {

// Without the line end it comes with, and with `program` in the place of "%1".
std::string ErrorText(DWORD error, const std::string& program);

}  // namespace kelvaro
