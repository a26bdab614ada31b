# The level design sheet in the docs must be the one the scripts give: writes
# it afresh from the run folder and compares it with the committed file.
#
# Variables: CHECK (the check program), RUN (the run folder), TOPTEN (the
# shipped high-score table), SHEET (the committed sheet), WORK (a scratch file).

foreach(var CHECK RUN TOPTEN SHEET WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

execute_process(COMMAND ${CHECK} ${RUN} ${TOPTEN} --sheet ${WORK} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the data-set check failed:\n${err}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SHEET} ${WORK} RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  execute_process(COMMAND diff -u ${SHEET} ${WORK})
  message(FATAL_ERROR "${SHEET} is not what the scripts give (above); write it again with\n"
                      "  build/tools/abyssor_datacheck build/run SCRIPT/topten.scr --sheet docs/level-design.md")
endif()
