# `cmake --install build --prefix PREFIX` puts the game under PREFIX:
#   bin/abyssor                          the launcher (see launcher.sh.in)
#   libexec/abyssor/abyssor              the game itself
#   share/abyssor/SCRIPT, GFX, SFX       its scripts and media, only read
#   share/applications/abyssor.desktop   the desktop entry
#   share/icons/hicolor/128x128/apps/abyssor.png
include(GNUInstallDirs)

set(ABYSSOR_GAME_DIR ${CMAKE_INSTALL_LIBEXECDIR}/abyssor)
set(ABYSSOR_DATA_DIR ${CMAKE_INSTALL_DATADIR}/abyssor)
set(ABYSSOR_ICON_FILE ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps/abyssor.png)

install(TARGETS abyssor RUNTIME DESTINATION ${ABYSSOR_GAME_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/SCRIPT DESTINATION ${ABYSSOR_DATA_DIR})
install(DIRECTORY ${ABYSSOR_RUN_DIR}/GFX ${ABYSSOR_RUN_DIR}/SFX DESTINATION ${ABYSSOR_DATA_DIR})
install(FILES ${ABYSSOR_ICON_DIR}/abyssor.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)

# The launcher finds the rest from where it lies, so the installed tree may
# be moved as a whole.
file(RELATIVE_PATH ABYSSOR_BIN_TO_PREFIX /prefix/${CMAKE_INSTALL_BINDIR} /prefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/launcher.sh.in ${CMAKE_BINARY_DIR}/install/abyssor @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/install/abyssor DESTINATION ${CMAKE_INSTALL_BINDIR})

# The desktop entry names the launcher and the icon by their full paths,
# known only when the prefix is.
install(CODE "
  set(ABYSSOR_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/abyssor\")
  set(ABYSSOR_ICON \"\${CMAKE_INSTALL_PREFIX}/${ABYSSOR_ICON_FILE}\")
  configure_file(\"${CMAKE_CURRENT_LIST_DIR}/abyssor.desktop.in\" \"${CMAKE_BINARY_DIR}/install/abyssor.desktop\" @ONLY)
")
install(FILES ${CMAKE_BINARY_DIR}/install/abyssor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
