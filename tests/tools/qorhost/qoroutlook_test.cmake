# qorOutlook.dll registered with regsvr32 where qorhost counts as Outlook, then loaded by qorhost
# playing every Outlook version, then unregistered.
#   WINE_RUN, QORHOST, ADDIN (the DLL as Windows sees it), RESET (a .reg file), MAILBOX, SCRIPTS
#   (run in turn for each version), EXPECTED (the golden output of all versions), OUTPUT (where it
#   is kept)
include(${CMAKE_CURRENT_LIST_DIR}/host_test_support.cmake)

run(reg import ${RESET})
run(${QORHOST} /regserver)
run(regsvr32 /s ${ADDIN})
set(all "")
string(REPLACE "," ";" SCRIPTS "${SCRIPTS}")
foreach(version 9 10 11 12 14 15 16)
  foreach(script ${SCRIPTS})
    run(${QORHOST} --mailbox ${MAILBOX} --version ${version} --script ${script})
    get_filename_component(name ${script} NAME_WE)
    string(APPEND all "== Outlook ${version}, ${name}\n${output}")
  endforeach()
endforeach()
run(regsvr32 /s /u ${ADDIN})
run(${QORHOST} /unregserver)
file(WRITE ${OUTPUT} "${all}")
compare_with_golden("${all}" ${EXPECTED} ${OUTPUT})
