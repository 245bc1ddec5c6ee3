# The test build's compilers for i686: the players' ones but for the POSIX
# threading model, which GoogleTest needs (as for x86_64, see
# cmake/mingw-x86_64-posix.cmake). The programs that players run are made in a
# nested build with the players' own compilers, the release's options and no
# tests (KELVARO_PROGRAMS_TOOLCHAIN; see cmake/player-options.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(KELVARO_PROGRAMS_TOOLCHAIN ${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
