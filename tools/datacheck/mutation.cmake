# Breaks one script of a copy of the data set and expects the data-set check
# to fail with the given complaint: a check that passes anything would be of
# no use. With WARNING set, the change is one the game plays, and the check
# must pass it with the given warning on its output.
#
# Variables: CHECK (the check program), RUN (the run folder), WORK (a scratch
# folder), SCRIPT (path under SCRIPT/), FROM and TO (the text replaced),
# EXPECT (text the check must print), WARNING (optional, 1).

foreach(var CHECK RUN WORK SCRIPT FROM TO EXPECT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${RUN}/SCRIPT DESTINATION ${WORK})
file(CREATE_LINK ${RUN}/GFX ${WORK}/GFX SYMBOLIC)
file(CREATE_LINK ${RUN}/SFX ${WORK}/SFX SYMBOLIC)

file(READ ${WORK}/SCRIPT/${SCRIPT} text)
string(REPLACE "${FROM}" "${TO}" broken "${text}")
if(broken STREQUAL text)
  message(FATAL_ERROR "${SCRIPT} holds no '${FROM}' to break")
endif()
file(WRITE ${WORK}/SCRIPT/${SCRIPT} "${broken}")

execute_process(COMMAND ${CHECK} ${WORK} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE_RECURSE ${WORK})
if(WARNING)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the check failed a data set with '${FROM}' changed to '${TO}' in ${SCRIPT}:\n${err}")
  endif()
  string(FIND "${out}" "${EXPECT}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "the check gave no warning '${EXPECT}':\n${out}")
  endif()
  return()
endif()
if(result EQUAL 0)
  message(FATAL_ERROR "the check passed a data set with '${FROM}' changed to '${TO}' in ${SCRIPT}")
endif()
string(FIND "${err}" "${EXPECT}" found)
if(found EQUAL -1)
  message(FATAL_ERROR "the check failed, but without '${EXPECT}':\n${err}")
endif()
