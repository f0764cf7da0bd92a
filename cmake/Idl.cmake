# qor_add_idl(TARGET name IDL file [TLB]): compiles an IDL file with widl into a header (and, with
# TLB, a type library) in the build folder; `name` is an interface library that carries the header's
# folder and the interface identifiers (the generated _i.c).
find_program(QOR_WIDL x86_64-w64-mingw32-widl REQUIRED)
find_path(QOR_WINE_IDL_DIR oaidl.idl PATHS /usr/include/wine/wine/windows NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(QOR_WINE_TLB_DIR stdole2.tlb PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows NO_CMAKE_FIND_ROOT_PATH
  REQUIRED)
# Type libraries name the build's platform (SYS_WIN32 or SYS_WIN64).
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(QOR_WIDL_ARCH -m32)
else()
  set(QOR_WIDL_ARCH -m64)
endif()

function(qor_add_idl)
  cmake_parse_arguments(ARG "TLB" "TARGET;IDL" "" ${ARGN})
  get_filename_component(idl ${ARG_IDL} ABSOLUTE)
  get_filename_component(stem ${idl} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/idl)
  set(outputs ${out}/${stem}.h ${out}/${stem}_i.c)
  set(tlb_args)
  if(ARG_TLB)
    list(APPEND outputs ${out}/${stem}.tlb)
    set(tlb_args -t -T ${out}/${stem}.tlb)
  endif()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND ${QOR_WIDL} ${QOR_WIDL_ARCH} -I ${QOR_WINE_IDL_DIR} -I ${CMAKE_CURRENT_SOURCE_DIR} -L ${QOR_WINE_TLB_DIR}
            -h -H ${out}/${stem}.h -u -U ${out}/${stem}_i.c ${tlb_args} ${idl}
    DEPENDS ${idl} VERBATIM)
  add_library(${ARG_TARGET} STATIC ${out}/${stem}_i.c ${out}/${stem}.h)
  target_include_directories(${ARG_TARGET} PUBLIC ${out})
  set_source_files_properties(${out}/${stem}_i.c PROPERTIES LANGUAGE C)
  if(ARG_TLB)
    set(${ARG_TARGET}_TLB ${out}/${stem}.tlb PARENT_SCOPE)
  endif()
endfunction()
