# The test build's compilers for x86_64: the POSIX threading model, because
# GoogleTest needs std::mutex, which the win32 model lacks. The programs that
# players run are not built with them: a nested build makes those with the
# players' compilers (KELVARO_PROGRAMS_TOOLCHAIN; see cmake/programs.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(KELVARO_PROGRAMS_TOOLCHAIN ${CMAKE_CURRENT_LIST_DIR}/mingw-x86_64.cmake)
