// The platform's real file system, for the core suites.
#pragma once

#ifdef KELVARO_WIN32_FILES
#include "win_file_system.h"
namespace kelvaro::testing {
using RealFileSystem = WinFileSystem;
}
#else
#include "posix_file_system.h"
namespace kelvaro::testing {
using RealFileSystem = PosixFileSystem;
}
#endif
