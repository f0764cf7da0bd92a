# Cross build for 32-bit Windows (32-bit Outlook loads only 32-bit add-ins) with Debian's
# MinGW-w64 (posix threads); tests run under Wine's WoW64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(QOR_MINGW i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
