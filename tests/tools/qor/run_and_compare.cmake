# Runs COMMAND (its arguments joined by "|") and checks what it did:
#   EXPECT_RC     the exit status
#   EXPECTED      a file standard output must equal byte for byte
#   ERROR_MATCH   a regular expression standard error must match
#   CLEAN_DIR     a folder emptied before the run, and the program's working folder
#   FILE_CHECKS   "produced=expected" pairs joined by "|": files the run wrote, compared byte for byte
string(REPLACE "|" ";" COMMAND "${COMMAND}")
set(workdir)
if(CLEAN_DIR)
  set(workdir WORKING_DIRECTORY ${CLEAN_DIR})
endif()
# A run that Wine lost in its exit or at its start (see cmake/wine-run.sh.in) is made again here,
# from a clean folder.
set(ENV{QOR_WINE_NO_RERUN} 1)
foreach(attempt 1 2)
  if(CLEAN_DIR)
    file(REMOVE_RECURSE ${CLEAN_DIR})
    file(MAKE_DIRECTORY ${CLEAN_DIR})
  endif()
  execute_process(COMMAND ${COMMAND} ${workdir} OUTPUT_FILE ${OUTPUT} ERROR_VARIABLE stderr RESULT_VARIABLE rc)
  if(NOT (rc STREQUAL "127" AND stderr MATCHES "Inconsistency detected by ld.so: dl-fini.c")
     AND NOT stderr MATCHES "wine client error:[^\n]*Connection reset by peer")
    break()
  endif()
endforeach()
if(NOT rc STREQUAL EXPECT_RC)
  message(FATAL_ERROR "exit status ${rc}, expected ${EXPECT_RC}; stderr:\n${stderr}")
endif()

function(compare_files produced expected)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${produced} ${expected} RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "${produced} differs from ${expected}")
  endif()
endfunction()

if(EXPECTED)
  compare_files(${OUTPUT} ${EXPECTED})
endif()
string(REPLACE "|" ";" FILE_CHECKS "${FILE_CHECKS}")
foreach(check IN LISTS FILE_CHECKS)
  string(REPLACE "=" ";" pair "${check}")
  list(GET pair 0 produced)
  list(GET pair 1 expected)
  compare_files(${produced} ${expected})
endforeach()
if(ERROR_MATCH AND NOT stderr MATCHES "${ERROR_MATCH}")
  message(FATAL_ERROR "stderr does not match '${ERROR_MATCH}':\n${stderr}")
endif()
