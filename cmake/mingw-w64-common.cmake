# What both Windows cross builds share; QOR_MINGW names the toolchain's target triplet.
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
