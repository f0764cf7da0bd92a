# qor_add_test(NAME SOURCES files... LIBS targets...)
# One GoogleTest binary per area. Natively each test case is its own CTest entry; under Wine the
# binary is one entry, since every Wine process start costs a tenth of a second.
include(GoogleTest)

function(qor_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} qor_test_support GTest::gmock GTest::gtest_main qor_options)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
