# Warnings and sanitizers shared by every target of ours.
add_library(qor_options INTERFACE)
target_compile_options(qor_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
target_include_directories(qor_options INTERFACE ${PROJECT_SOURCE_DIR}/src)

if(QOR_SANITIZE)
  target_compile_options(qor_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(qor_options INTERFACE -fsanitize=address,undefined)
endif()

if(WIN32)
  # Nothing but Windows system DLLs may be imported inside Outlook.
  target_link_options(qor_options INTERFACE -static)
  target_compile_definitions(qor_options INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # A DLL's .def file names its __stdcall entry points without their "@N" decoration.
    target_link_options(qor_options INTERFACE -Wl,--enable-stdcall-fixup)
  endif()
endif()

# The project's version as the version resources take it (see src/platform/version_text.h).
set(QOR_VERSION_DEFINITIONS QOR_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} QOR_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  QOR_VERSION_PATCH=${PROJECT_VERSION_PATCH})
