# Third-party code from Debian's packages. Header-only libraries live in /usr/include, which the
# cross compiler must not search as a whole, so each one is exposed through its own folder.
set(QOR_SHIM_INCLUDE ${CMAKE_BINARY_DIR}/_deps/include)
file(MAKE_DIRECTORY ${QOR_SHIM_INCLUDE})

function(qor_header_library target header_dir)
  if(NOT IS_DIRECTORY /usr/include/${header_dir})
    message(FATAL_ERROR "/usr/include/${header_dir} is missing: run scripts/install-deps.sh")
  endif()
  file(CREATE_LINK /usr/include/${header_dir} ${QOR_SHIM_INCLUDE}/${header_dir} SYMBOLIC)
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${QOR_SHIM_INCLUDE})
endfunction()

qor_header_library(qor_json nlohmann)
qor_header_library(qor_cli11 CLI)

if(QOR_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)
  target_compile_options(gtest PRIVATE -Wno-restrict)
endif()
