# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads); tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QOR_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${QOR_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QOR_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${QOR_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QOR_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program runs through a wrapper that owns the build's Wine prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
