# `cmake --install build --prefix PREFIX` puts the game under PREFIX:
#   bin/abyssor                          the launcher (see launcher.sh.in);
#                                        games/abyssor under the prefix /usr
#   libexec/abyssor/abyssor              the game itself
#   share/abyssor/cs/SCRIPT, GFX, SFX    the Czech data set, only read
#   share/abyssor/en/...                 the English one: its own scripts and
#                                        pictures that hold words, and links
#                                        to the Czech data set for the rest
#   share/applications/ID.desktop        the desktop entry
#   share/metainfo/ID.metainfo.xml       what software centres show
#   share/icons/hicolor/128x128/apps/abyssor.png
#   share/doc/abyssor/copyright, changelog.gz; share/man/man6/abyssor.6
# ID is the game's AppStream name, ABYSSOR_ID. `cpack -G DEB` in the build
# folder makes the Debian package of the same (see the top-level list).
include(GNUInstallDirs)

set(ABYSSOR_ID cz.tarvik.abyssor)
set(ABYSSOR_HOMEPAGE "https://tarvik.cz/abyssor/" CACHE STRING "The game's home page, as software centres link it")
set(ABYSSOR_SCREENSHOT_URL "${ABYSSOR_HOMEPAGE}screenshots/" CACHE STRING
    "Where the build's screenshots (build/screenshots) are published, as software centres fetch them")
set(ABYSSOR_GAME_DIR ${CMAKE_INSTALL_LIBEXECDIR}/abyssor)
set(ABYSSOR_DATA_DIR ${CMAKE_INSTALL_DATADIR}/abyssor)
set(ABYSSOR_ICON_FILE ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps/abyssor.png)
set(ABYSSOR_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/abyssor)

install(TARGETS abyssor RUNTIME DESTINATION ${ABYSSOR_GAME_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/SCRIPT DESTINATION ${ABYSSOR_DATA_DIR}/cs)
install(DIRECTORY ${ABYSSOR_RUN_DIR}/GFX ${ABYSSOR_RUN_DIR}/SFX DESTINATION ${ABYSSOR_DATA_DIR}/cs)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/editions/en/SCRIPT DESTINATION ${ABYSSOR_DATA_DIR}/en)
install(DIRECTORY ${ABYSSOR_EN_MEDIA_DIR}/GFX DESTINATION ${ABYSSOR_DATA_DIR}/en)
# The rest of the English data set is the Czech one: links, relative, so the
# installed tree may be moved as a whole.
install(CODE "
  set(data \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ABYSSOR_DATA_DIR}\")
  execute_process(COMMAND \"${CMAKE_COMMAND}\" -DCOMMON=\${data}/cs -DDEST=\${data}/en -DOVERLAYS=\${data}/en -DMODE=LINK
                          -P \"${CMAKE_CURRENT_LIST_DIR}/compose_edition.cmake\" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR \"the English data set could not be composed\")
  endif()
")
install(FILES ${ABYSSOR_ICON_DIR}/abyssor.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)

# The launcher finds the rest from where it lies, so the installed tree may
# be moved as a whole. It carries the edition and high-score functions that
# ./play.sh sources.
file(RELATIVE_PATH ABYSSOR_BIN_TO_PREFIX /prefix/${CMAKE_INSTALL_BINDIR} /prefix)
file(READ ${CMAKE_CURRENT_LIST_DIR}/edition.sh ABYSSOR_EDITION_FUNCTIONS)
configure_file(${CMAKE_CURRENT_LIST_DIR}/launcher.sh.in ${CMAKE_BINARY_DIR}/install/abyssor @ONLY)
# Under /usr (as the package installs) a game's command goes to /usr/games,
# as Debian has it; under any other prefix to bin/. Decided when installing,
# when the prefix is known.
install(CODE "
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(ABYSSOR_COMMAND_DIR games)
  else()
    set(ABYSSOR_COMMAND_DIR ${CMAKE_INSTALL_BINDIR})
  endif()
")
install(PROGRAMS ${CMAKE_BINARY_DIR}/install/abyssor DESTINATION \${ABYSSOR_COMMAND_DIR})

# The desktop entry names the launcher by its full path, and the icon by
# name where the system finds it (prefix /usr), by its full path elsewhere.
install(CODE "
  set(ABYSSOR_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/\${ABYSSOR_COMMAND_DIR}/abyssor\")
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(ABYSSOR_ICON abyssor)
  else()
    set(ABYSSOR_ICON \"\${CMAKE_INSTALL_PREFIX}/${ABYSSOR_ICON_FILE}\")
  endif()
  configure_file(\"${CMAKE_CURRENT_LIST_DIR}/abyssor.desktop.in\" \"${CMAKE_BINARY_DIR}/install/${ABYSSOR_ID}.desktop\" @ONLY)
")
install(FILES ${CMAKE_BINARY_DIR}/install/${ABYSSOR_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

set(ABYSSOR_VERSION ${PROJECT_VERSION})
configure_file(${CMAKE_CURRENT_LIST_DIR}/abyssor.metainfo.xml.in ${CMAKE_BINARY_DIR}/install/${ABYSSOR_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/${ABYSSOR_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian's way: the copyright as it is, the changelog compressed (without a
# time stamp, so that packages come out the same).
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright DESTINATION ${ABYSSOR_DOC_DIR})
# So is the manual page.
foreach(file changelog abyssor.6)
  install(CODE "
    execute_process(COMMAND gzip -9nc \"${CMAKE_CURRENT_LIST_DIR}/debian/${file}\"
                    OUTPUT_FILE \"${CMAKE_BINARY_DIR}/install/${file}.gz\" RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR \"${file} could not be compressed\")
    endif()
  ")
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/install/changelog.gz DESTINATION ${ABYSSOR_DOC_DIR})
install(FILES ${CMAKE_BINARY_DIR}/install/abyssor.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
