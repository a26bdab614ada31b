# The browser build's data, in three packages, so that a player downloads
# only their edition: data-common (everything both editions share) and
# data-cs, data-en (the scripts and pictures that hold words, in each
# edition's language). Each is a .data file with its .js loader, made by
# emscripten's file packager; the page loads the common one and one edition's.
#
# Variables: SCRIPTS (the Czech scripts), MEDIA (the folder holding the Czech
# GFX and SFX), EN_SCRIPTS and EN_MEDIA (the English scripts and pictures
# that differ), WORK (a scratch folder), SITE, PACKAGER (file_packager.py).
cmake_minimum_required(VERSION 3.21)

foreach(var SCRIPTS MEDIA EN_SCRIPTS EN_MEDIA WORK SITE PACKAGER)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

# What holds words: the English overlay's files, by their names.
file(GLOB_RECURSE en_scripts RELATIVE ${EN_SCRIPTS} ${EN_SCRIPTS}/*)
file(GLOB_RECURSE en_media RELATIVE ${EN_MEDIA} ${EN_MEDIA}/*)
list(TRANSFORM en_scripts PREPEND SCRIPT/)
set(words ${en_scripts} ${en_media})

file(REMOVE_RECURSE ${WORK})
file(COPY ${SCRIPTS}/ DESTINATION ${WORK}/common/SCRIPT)
file(COPY ${MEDIA}/GFX ${MEDIA}/SFX DESTINATION ${WORK}/common)
foreach(file ${words})
  if(NOT EXISTS ${WORK}/common/${file})
    message(FATAL_ERROR "${file} of the English edition replaces nothing of the Czech one")
  endif()
  get_filename_component(dir ${file} DIRECTORY)
  file(MAKE_DIRECTORY ${WORK}/cs/${dir} ${WORK}/en/${dir})
  file(RENAME ${WORK}/common/${file} ${WORK}/cs/${file})
endforeach()
file(COPY ${EN_SCRIPTS}/ DESTINATION ${WORK}/en/SCRIPT)
file(COPY ${EN_MEDIA}/ DESTINATION ${WORK}/en)

foreach(package common cs en)
  execute_process(COMMAND python3 ${PACKAGER} ${SITE}/data-${package}.data --preload ${package}@/
                          --js-output=${SITE}/data-${package}.js
                  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE failed OUTPUT_QUIET)
  if(failed)
    message(FATAL_ERROR "the file packager failed on ${package}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
