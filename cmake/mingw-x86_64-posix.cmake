# The test build's compilers for x86_64: the players' ones but for the POSIX
# threading model, because GoogleTest needs std::mutex, which the win32 model
# lacks. The programs that players run are not built with them: a nested build
# makes those with the players' compilers (KELVARO_PROGRAMS_TOOLCHAIN; see
# cmake/player-options.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-x86_64.cmake)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(KELVARO_PROGRAMS_TOOLCHAIN ${CMAKE_CURRENT_LIST_DIR}/mingw-x86_64.cmake)
