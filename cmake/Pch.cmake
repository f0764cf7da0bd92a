# Precompiled headers: windows.h and the COM headers, GoogleTest and the standard library are most
# of what a translation unit costs here. Each set is compiled once per build and reused by every
# target of ours; a target whose flags differ gets the plain headers, with a -Winvalid-pch warning.
set(QOR_PCH_DIR ${CMAKE_CURRENT_LIST_DIR}/pch)

add_library(qor_pch_product STATIC ${QOR_PCH_DIR}/pch.cpp)
target_link_libraries(qor_pch_product PRIVATE qor_options)
target_precompile_headers(qor_pch_product PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${QOR_PCH_DIR}/product.h>)

if(QOR_BUILD_TESTS)
  add_library(qor_pch_tests STATIC ${QOR_PCH_DIR}/pch.cpp)
  target_link_libraries(qor_pch_tests PRIVATE GTest::gmock qor_options)
  target_precompile_headers(qor_pch_tests PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${QOR_PCH_DIR}/tests.h>)
endif()

# qor_apply_pch(dir...): every C++ target of ours below the folders reuses the product's headers,
# test binaries (QOR_PCH_TESTS set by qor_add_test) the tests' headers.
function(qor_apply_pch)
  foreach(dir ${ARGN})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      get_target_property(type ${target} TYPE)
      get_target_property(libraries ${target} LINK_LIBRARIES)
      get_target_property(sources ${target} SOURCES)
      if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE|MODULE_LIBRARY|SHARED_LIBRARY)$"
         OR NOT "qor_options" IN_LIST libraries OR NOT sources MATCHES "\\.(cpp|cc)(;|$)"
         OR target MATCHES "^qor_pch_")
        continue()
      endif()
      get_target_property(tests ${target} QOR_PCH_TESTS)
      if(tests)
        target_precompile_headers(${target} REUSE_FROM qor_pch_tests)
      else()
        target_precompile_headers(${target} REUSE_FROM qor_pch_product)
      endif()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    if(subdirs)
      qor_apply_pch(${subdirs})
    endif()
  endforeach()
endfunction()
