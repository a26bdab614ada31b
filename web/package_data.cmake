# The browser build's data, in packages, so that the first picture waits only
# for what the game loads before it and a player downloads only their
# edition:
# - start-cs, start-en: the scripts and what the menu's and the intro's
#   scripts name (the intro, the menu's pictures, font and sounds), in one
#   edition's words: the game loads all of it before its first picture;
# - levels: the rest that both editions share (the seabeds, the sprites, the
#   levels' sounds);
# - levels-cs, levels-en: the rest that holds words (the levels' panels and
#   title pictures, the still screens, the weapons' names).
# The page fetches its edition's start package with the game, and the levels
# while the intro plays.
#
# A package is a line of JSON, {"size": <bytes after the line>, "files":
# [[path, bytes], ...]}, then the files' bytes one after the other; each is
# also written compressed (<name>.data.gz), which the page takes where the
# browser can unpack it.
#
# Variables: SCRIPTS (the Czech scripts), MEDIA (the folder holding the Czech
# GFX and SFX), EN_SCRIPTS and EN_MEDIA (the English scripts and pictures
# that differ), WORK (a scratch folder), SITE.
cmake_minimum_required(VERSION 3.21)

foreach(var SCRIPTS MEDIA EN_SCRIPTS EN_MEDIA WORK SITE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

# Every file of the Czech edition, by its path in the game's folder.
file(GLOB_RECURSE scripts RELATIVE ${SCRIPTS} ${SCRIPTS}/*)
list(TRANSFORM scripts PREPEND SCRIPT/)
file(GLOB_RECURSE media RELATIVE ${MEDIA} ${MEDIA}/GFX/* ${MEDIA}/SFX/*)
set(all_files ${scripts} ${media})
foreach(file ${scripts})
  string(REGEX REPLACE "^SCRIPT/" "${SCRIPTS}/" "source_cs_${file}" ${file})
  set("source_en_${file}" "${source_cs_${file}}")
endforeach()
foreach(file ${media})
  set("source_cs_${file}" ${MEDIA}/${file})
  set("source_en_${file}" ${MEDIA}/${file})
endforeach()

# What holds words: the English edition's files, which replace Czech ones.
file(GLOB_RECURSE en_scripts RELATIVE ${EN_SCRIPTS} ${EN_SCRIPTS}/*)
file(GLOB_RECURSE en_media RELATIVE ${EN_MEDIA} ${EN_MEDIA}/*)
foreach(file ${en_scripts})
  set("source_en_SCRIPT/${file}" ${EN_SCRIPTS}/${file})
endforeach()
foreach(file ${en_media})
  set("source_en_${file}" ${EN_MEDIA}/${file})
endforeach()
list(TRANSFORM en_scripts PREPEND SCRIPT/)
set(words ${en_scripts} ${en_media})
foreach(file ${words})
  if(NOT file IN_LIST all_files)
    message(FATAL_ERROR "${file} of the English edition replaces nothing of the Czech one")
  endif()
endforeach()

# What an edition's game loads before its first picture: the scripts, and the
# pictures and sounds its menu and intro scripts name.
foreach(edition cs en)
  set(start_${edition} ${scripts})
  foreach(script SCRIPT/menu.scr SCRIPT/in.scr)
    file(STRINGS ${source_${edition}_${script}} lines)
    foreach(line ${lines})
      if(line MATCHES "[ \t]((GFX|SFX)/[^ \t\r]+)" AND CMAKE_MATCH_1 IN_LIST all_files)
        list(APPEND start_${edition} ${CMAKE_MATCH_1})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES start_${edition})
endforeach()

# The levels' files both editions share; each edition's own are the rest.
set(levels ${all_files})
list(REMOVE_ITEM levels ${words} ${start_cs} ${start_en})
foreach(edition cs en)
  set(levels_${edition} ${all_files})
  list(REMOVE_ITEM levels_${edition} ${start_${edition}} ${levels})
endforeach()

# Writes SITE/<name>.data from the files of `edition` (cs or en) named.
function(write_package name edition)
  set(listing "")
  set(sources "")
  set(size 0)
  foreach(file ${ARGN})
    set(source ${source_${edition}_${file}})
    file(SIZE ${source} bytes)
    math(EXPR size "${size} + ${bytes}")
    string(APPEND listing ",[\"${file}\",${bytes}]")
    list(APPEND sources ${source})
  endforeach()
  string(SUBSTRING "${listing}" 1 -1 listing)
  file(WRITE ${WORK}/${name}.head "{\"size\":${size},\"files\":[${listing}]}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${WORK}/${name}.head ${sources}
                  OUTPUT_FILE ${SITE}/${name}.data RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${name}.data could not be written")
  endif()
  # Compressed beside it, for browsers that can unpack a download as it
  # comes: the pictures are mostly sea and black, a ninth of their size.
  execute_process(COMMAND gzip -9 -n -c ${SITE}/${name}.data OUTPUT_FILE ${SITE}/${name}.data.gz
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${name}.data.gz could not be written")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
write_package(levels cs ${levels})
foreach(edition cs en)
  write_package(start-${edition} ${edition} ${start_${edition}})
  write_package(levels-${edition} ${edition} ${levels_${edition}})
endforeach()
file(REMOVE_RECURSE ${WORK})
