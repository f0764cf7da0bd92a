# qor_add_test(NAME SOURCES files... LIBS targets... [PREFIX text])
# One GoogleTest binary per area. Natively each test case is its own CTest entry, its name starting
# with PREFIX when given; under Wine the binary is one entry, since every Wine process start costs
# a tenth of a second.
include(GoogleTest)

function(qor_add_test name)
  cmake_parse_arguments(ARG "" "PREFIX" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} qor_test_support GTest::gmock GTest::gtest_main qor_options)
  set_target_properties(${name} PROPERTIES QOR_PCH_TESTS ON)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
  else()
    set(prefix)
    if(ARG_PREFIX)
      set(prefix TEST_PREFIX ${ARG_PREFIX})
    endif()
    gtest_discover_tests(${name} ${prefix} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# qor_add_window_test(NAME SOURCES files... LIBS targets...)
# A Windows test binary whose windows must really be drawn: it runs on a virtual X screen, one
# such run at a time (see cmake/wine-x11-run.sh.in).
function(qor_add_window_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} qor_test_support GTest::gmock GTest::gtest_main qor_options)
  set_target_properties(${name} PROPERTIES QOR_PCH_TESTS ON)
  add_test(NAME ${name} COMMAND ${QOR_WINE_X11_RUN} $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_x11)
endfunction()

# qor_program_path(VAR PATH): PATH as the tests' programs see it; Windows programs under Wine
# reach the Linux file system through drive Z:.
function(qor_program_path var path)
  if(CMAKE_CROSSCOMPILING)
    set(${var} "Z:${path}" PARENT_SCOPE)
  else()
    set(${var} "${path}" PARENT_SCOPE)
  endif()
endfunction()
