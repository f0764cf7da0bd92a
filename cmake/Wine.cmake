# The wrappers through which CTest and the Makefile start this build's Windows programs: one
# without a display, one on a virtual X screen for windows that must really be drawn.
set(QOR_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(QOR_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
set(QOR_WINE_X11_RUN ${CMAKE_BINARY_DIR}/wine-x11-run.sh)
# Wine's loader of the build's architecture, for Wine's own programs (regsvr32, reg, msiexec).
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(QOR_WINE_LOADER /usr/lib/wine/wine)
else()
  set(QOR_WINE_LOADER /usr/lib/wine/wine64)
endif()
# Whether this machine runs the build's programs at all: 32-bit Wine needs the kernel's 32-bit
# emulation, which some virtual machines turn off (ia32_emulation=off).
execute_process(COMMAND ${QOR_WINE_LOADER} --version RESULT_VARIABLE wine_status OUTPUT_QUIET ERROR_QUIET)
if(wine_status EQUAL 0)
  set(QOR_WINE_RUNS ON)
else()
  set(QOR_WINE_RUNS OFF)
  message(STATUS "${QOR_WINE_LOADER} cannot run on this machine")
endif()
foreach(wrapper wine-run wine-x11-run)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${wrapper}.sh.in ${CMAKE_BINARY_DIR}/${wrapper}.sh
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
    @ONLY)
endforeach()
