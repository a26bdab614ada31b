# Composes a complete data set of one edition of the game in DEST: the files
# of the folders FOLDERS (and the single FILES) of COMMON, where OVERLAYS (a
# list of folders, the later winning) hold none of the same name, and the
# overlays' own files. An edition thus brings only what differs from the
# Czech data set: the scripts and pictures that hold words.
#
# MODE COPY copies (the build's run folders); MODE LINK makes relative
# symbolic links to COMMON instead, a whole folder at once where no overlay
# has anything in it (the installed tree, where the overlays are already in
# place). Files of DEST that neither COMMON nor an overlay holds any longer
# are removed, but never the high-score table: with TABLE set, a DEST that
# has none gets a link to that table, shared with the other editions.

cmake_minimum_required(VERSION 3.21)

foreach(var COMMON DEST MODE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()
if(NOT DEFINED FOLDERS)
  set(FOLDERS SCRIPT GFX SFX)
endif()
set(table_file SCRIPT/topten.scr)

# The overlays' files, relative, and the folders that hold any of them.
set(overlaid "")
set(overlaid_dirs "")
foreach(overlay ${OVERLAYS})
  file(GLOB_RECURSE files RELATIVE ${overlay} ${overlay}/*)
  foreach(file ${files})
    list(APPEND overlaid ${file})
    set(source_of_${file} ${overlay}/${file})
    get_filename_component(dir ${file} DIRECTORY)
    while(dir)
      list(APPEND overlaid_dirs ${dir})
      get_filename_component(dir ${dir} DIRECTORY)
    endwhile()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES overlaid)

set(kept ${table_file})
function(place source target)
  get_filename_component(dir ${DEST}/${target} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  if(IS_SYMLINK ${DEST}/${target} OR (MODE STREQUAL "LINK" AND EXISTS ${DEST}/${target} AND NOT IS_DIRECTORY ${DEST}/${target}))
    file(REMOVE ${DEST}/${target})
  endif()
  file(COPY_FILE ${source} ${DEST}/${target} ONLY_IF_DIFFERENT)
endfunction()

# A link to COMMON's entry of the same name, relative to where it lies.
function(link_common entry)
  get_filename_component(dir ${DEST}/${entry} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  file(RELATIVE_PATH target ${dir} ${COMMON}/${entry})
  file(REMOVE_RECURSE ${DEST}/${entry})
  file(CREATE_LINK ${target} ${DEST}/${entry} SYMBOLIC)
endfunction()

# A folder is linked whole when linking and no overlay lies inside it;
# otherwise it is walked.
function(take_folder rel)
  list(FIND overlaid_dirs ${rel} holds_overlay)
  if(MODE STREQUAL "LINK" AND holds_overlay EQUAL -1)
    link_common(${rel})
    list(APPEND kept ${rel})
  else()
    compose(${rel})
  endif()
  set(kept ${kept} PARENT_SCOPE)
endfunction()

# Walks COMMON's folder rel: each entry is linked or copied unless an
# overlay replaces it or holds something inside it.
function(compose rel)
  file(GLOB entries RELATIVE ${COMMON} LIST_DIRECTORIES true ${COMMON}/${rel}/*)
  foreach(entry ${entries})
    if(entry STREQUAL table_file)
      continue()
    endif()
    if(IS_DIRECTORY ${COMMON}/${entry})
      take_folder(${entry})
    elseif(NOT entry IN_LIST overlaid)
      if(MODE STREQUAL "LINK")
        link_common(${entry})
      else()
        place(${COMMON}/${entry} ${entry})
      endif()
      list(APPEND kept ${entry})
    endif()
  endforeach()
  set(kept ${kept} PARENT_SCOPE)
endfunction()

foreach(folder ${FOLDERS})
  take_folder(${folder})
endforeach()
foreach(file ${FILES})
  place(${COMMON}/${file} ${file})
  list(APPEND kept ${file})
endforeach()
foreach(file ${overlaid})
  if(NOT source_of_${file} STREQUAL "${DEST}/${file}")
    place(${source_of_${file}} ${file})
  endif()
  list(APPEND kept ${file})
endforeach()

# What an earlier composition left and nothing brings now.
foreach(folder ${FOLDERS})
  file(GLOB_RECURSE present RELATIVE ${DEST} LIST_DIRECTORIES false ${DEST}/${folder}/*)
  foreach(file ${present})
    set(gone TRUE)
    foreach(keep ${kept})
      if(file STREQUAL keep OR file MATCHES "^${keep}/")
        set(gone FALSE)
        break()
      endif()
    endforeach()
    if(gone)
      file(REMOVE ${DEST}/${file})
    endif()
  endforeach()
endforeach()

if(DEFINED TABLE AND NOT EXISTS ${DEST}/${table_file} AND NOT IS_SYMLINK ${DEST}/${table_file})
  file(MAKE_DIRECTORY ${DEST}/SCRIPT)
  file(CREATE_LINK ${TABLE} ${DEST}/${table_file} SYMBOLIC)
endif()
