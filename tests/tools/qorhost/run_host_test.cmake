# One qorhost run in the tests' own Wine prefix:
#   WINE_RUN      the wrapper that runs Windows programs
#   PROBE         the probe DLL, registered first
#   REG_FILES     .reg files imported in order before the run, joined by "|"
#   COMMAND       qorhost and its arguments, joined by "|"
#   EXPECT_RC     the exit status
#   EXPECTED      the file standard output must equal once every "ms=<digits>" reads "ms=N" (optional)
#   MATCH         a regular expression the raw standard output must match (optional)
#   ERROR_MATCH   a regular expression standard error must match (optional)
#   OUTPUT        where standard output is kept
#   SAVED         a file the run writes, removed first, and SAVED_MATCH a regular expression it must match
include(${CMAKE_CURRENT_LIST_DIR}/host_test_support.cmake)

run(regsvr32 /s ${PROBE})
string(REPLACE "|" ";" REG_FILES "${REG_FILES}")
foreach(regFile IN LISTS REG_FILES)
  run(reg import ${regFile})
endforeach()
if(SAVED)
  file(REMOVE ${SAVED})
endif()
string(REPLACE "|" ";" COMMAND "${COMMAND}")
execute_process(COMMAND ${WINE_RUN} ${COMMAND} OUTPUT_FILE ${OUTPUT} ERROR_VARIABLE stderr RESULT_VARIABLE rc)
file(READ ${OUTPUT} stdout)
if(NOT rc STREQUAL EXPECT_RC)
  message(FATAL_ERROR "exit status ${rc}, expected ${EXPECT_RC}; stdout:\n${stdout}\nstderr:\n${stderr}")
endif()
if(EXPECTED)
  compare_with_golden("${stdout}" ${EXPECTED} ${OUTPUT})
endif()
if(MATCH AND NOT stdout MATCHES "${MATCH}")
  message(FATAL_ERROR "standard output does not match '${MATCH}':\n${stdout}")
endif()
if(ERROR_MATCH AND NOT stderr MATCHES "${ERROR_MATCH}")
  message(FATAL_ERROR "standard error does not match '${ERROR_MATCH}':\n${stderr}")
endif()
if(SAVED)
  file(READ ${SAVED} saved)
  if(NOT saved MATCHES "${SAVED_MATCH}")
    message(FATAL_ERROR "${SAVED} does not match '${SAVED_MATCH}'")
  endif()
endif()
