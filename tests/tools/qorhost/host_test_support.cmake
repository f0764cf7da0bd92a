# What the qorhost test scripts share.

# run(COMMAND...): a Windows program through the Wine wrapper WINE_RUN, which must succeed; its
# standard output is left in `output`.
function(run)
  execute_process(COMMAND ${WINE_RUN} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN}: exit status ${rc}\n${out}${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

# compare_with_golden(TEXT EXPECTED OUTPUT): TEXT, with every "ms=<digits>" read as "ms=N", must
# equal the file EXPECTED; otherwise the difference is shown and the normalised text kept beside
# OUTPUT.
function(compare_with_golden text expected output)
  string(REGEX REPLACE "ms=[0-9]+" "ms=N" normalised "${text}")
  file(READ ${expected} golden)
  if(NOT normalised STREQUAL golden)
    file(WRITE ${output}.normalised "${normalised}")
    execute_process(COMMAND diff -u ${expected} ${output}.normalised OUTPUT_VARIABLE difference)
    message(FATAL_ERROR "standard output differs from ${expected}:\n${difference}")
  endif()
endfunction()
