// The banner across the top of the main window.
#pragma once

#include <windows.h>

namespace kelvaro {

// The banner JPEG held in `instance`'s resources, decoded by the system's own
// picture loader into a bitmap of its natural size that the caller owns and
// deletes. nullptr when the resource is missing or cannot be decoded. The
// thread must be in a COM apartment: some picture loaders (Wine's among them)
// decode through COM objects.
HBITMAP LoadBanner(HINSTANCE instance);

}  // namespace kelvaro
