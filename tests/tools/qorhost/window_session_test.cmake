# qorOutlook.dll in qorhost's windows on a virtual screen, as a user meets it: for Outlook 2003,
# 2007 and 365 the demo session (folder menu, every wizard page, Outlook closing), whose export
# and exclusion files must be those of `qor run` with the same choices and whose mailbox must show
# the same changes; then a user switching folders, opening an item, and unloading and loading the
# add-in again through the COM Add-Ins dialog.
#   WINE_RUN (the X11 wrapper), QORHOST, ADDIN, RESET, MAILBOX, PREFIX (the wrapper's Wine prefix),
#   DEMO_SCRIPT, USER_SCRIPT, CASES (this folder), WORK (a scratch folder), OUTPUT
include(${CMAKE_CURRENT_LIST_DIR}/host_test_support.cmake)

set(exclusions "${PREFIX}/drive_c/users/Public/Documents/QOR for Outlook/qorexclusions.dat")
file(REMOVE_RECURSE ${WORK})
run(reg import ${RESET})
run(${QORHOST} /regserver)
run(regsvr32 /s ${ADDIN})
set(all "")
foreach(version 11 12 16)
  set(dir ${WORK}/${version})
  file(MAKE_DIRECTORY ${dir})
  file(REMOVE ${exclusions})
  execute_process(COMMAND ${WINE_RUN} ${QORHOST} --mailbox ${MAILBOX} --version ${version} --window
                          --script ${DEMO_SCRIPT} --save after.json
                  WORKING_DIRECTORY ${dir} RESULT_VARIABLE rc OUTPUT_VARIABLE output ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "Outlook ${version}: exit status ${rc}\n${output}${err}")
  endif()
  string(APPEND all "== Outlook ${version}, demo\n${output}")
  foreach(picture 1-folder-menu 2-folder 3-review 4-contact-folders 5-options-basic 6-options-advanced 7-finished
                  8-after)
    if(NOT EXISTS ${dir}/${picture}.png)
      message(FATAL_ERROR "Outlook ${version}: no picture ${picture}.png")
    endif()
  endforeach()
  foreach(check export.txt=run-sample-export.txt qorexclusions.dat=run-sample-exclusions.dat)
    string(REPLACE "=" ";" check ${check})
    list(GET check 0 left)
    list(GET check 1 right)
    if(left STREQUAL "qorexclusions.dat")
      file(COPY_FILE ${exclusions} ${dir}/${left})
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${dir}/${left} ${CASES}/../qor/${right}
                    RESULT_VARIABLE differs)
    if(differs)
      message(FATAL_ERROR "Outlook ${version}: ${left} is not what `qor run` writes (${right})")
    endif()
  endforeach()
  execute_process(COMMAND python3 ${CASES}/../../../scripts/mailbox_changes.py ${CASES}/../../../samples/mailbox.json
                          ${dir}/after.json OUTPUT_VARIABLE changes COMMAND_ERROR_IS_FATAL ANY)
  string(APPEND all "-- changes\n${changes}")
endforeach()
run(${QORHOST} --mailbox ${MAILBOX} --version 11 --window --script ${USER_SCRIPT})
string(APPEND all "== Outlook 11, a user at the window\n${output}")
run(regsvr32 /s /u ${ADDIN})
run(${QORHOST} /unregserver)
file(WRITE ${OUTPUT} "${all}")
compare_with_golden("${all}" ${CASES}/window-session.out ${OUTPUT})
