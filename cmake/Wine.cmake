# The wrappers through which CTest and the Makefile start this build's Windows programs: one
# without a display, one on a virtual X screen for windows that must really be drawn.
set(QOR_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(QOR_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
set(QOR_WINE_X11_RUN ${CMAKE_BINARY_DIR}/wine-x11-run.sh)
foreach(wrapper wine-run wine-x11-run)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${wrapper}.sh.in ${CMAKE_BINARY_DIR}/${wrapper}.sh
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
    @ONLY)
endforeach()
