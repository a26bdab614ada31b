# Copies the game's scripts into the run folder, keeping the high-score table
# the player has earned there.
file(GLOB_RECURSE files RELATIVE ${SOURCE} ${SOURCE}/*)
foreach(file ${files})
  if(file STREQUAL "topten.scr" AND EXISTS ${DEST}/${file})
    continue()
  endif()
  get_filename_component(dir ${DEST}/${file} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  file(COPY_FILE ${SOURCE}/${file} ${DEST}/${file} ONLY_IF_DIFFERENT)
endforeach()
