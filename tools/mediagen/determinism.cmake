# Generates the media twice into fresh folders and compares every file byte
# for byte, with each other and with the media the build put into the run
# folder: the data set must come out the same on every build.
#
# Variables: GENERATOR, SCRIPTS, FONTS (the generator's arguments), WORK (a
# scratch folder), RUN (the run folder). With EDITION (en) the edition's
# pictures are made and RUN is where the build put them; each must then
# replace a Czech picture of COMMON (the Czech run folder) of the same size,
# and differ from it.

foreach(var GENERATOR SCRIPTS FONTS WORK RUN)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
foreach(pass first second)
  set(edition "")
  if(DEFINED EDITION)
    set(edition --edition ${EDITION})
  endif()
  execute_process(COMMAND ${GENERATOR} ${WORK}/${pass} ${SCRIPTS} ${FONTS} ${edition}
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the generator failed (${result}): ${errors}")
  endif()
endforeach()

file(GLOB_RECURSE first RELATIVE ${WORK}/first ${WORK}/first/*)
file(GLOB_RECURSE second RELATIVE ${WORK}/second ${WORK}/second/*)
list(SORT first)
list(SORT second)
if(NOT first STREQUAL second)
  message(FATAL_ERROR "the two runs wrote different sets of files")
endif()
list(LENGTH first count)
if(count EQUAL 0)
  message(FATAL_ERROR "the generator wrote nothing")
endif()

set(differ "")
foreach(file ${first})
  file(SHA256 ${WORK}/first/${file} a)
  file(SHA256 ${WORK}/second/${file} b)
  if(NOT a STREQUAL b)
    list(APPEND differ "${file} (between the two runs)")
  endif()
  if(NOT EXISTS ${RUN}/${file})
    list(APPEND differ "${file} (missing from the run folder)")
  else()
    file(SHA256 ${RUN}/${file} c)
    if(NOT a STREQUAL c)
      list(APPEND differ "${file} (differs from the run folder's)")
    endif()
  endif()
  if(DEFINED COMMON)
    file(READ ${WORK}/first/${file} size OFFSET 18 LIMIT 8 HEX)
    if(NOT EXISTS ${COMMON}/${file})
      list(APPEND differ "${file} (no Czech picture of that name)")
    else()
      file(READ ${COMMON}/${file} czech_size OFFSET 18 LIMIT 8 HEX)
      file(SHA256 ${COMMON}/${file} czech)
      if(NOT size STREQUAL czech_size)
        list(APPEND differ "${file} (not the size of the Czech picture)")
      elseif(a STREQUAL czech)
        list(APPEND differ "${file} (the same as the Czech picture)")
      endif()
    endif()
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})

if(differ)
  string(REPLACE ";" "\n  " differ "${differ}")
  message(FATAL_ERROR "media differ:\n  ${differ}")
endif()
message(STATUS "${count} files identical in both runs and in the run folder")
