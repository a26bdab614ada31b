# The Debian package of the install target: `cpack -G DEB` in the build
# folder makes abyssor_<version>_<arch>.deb, installed under /usr. The
# libraries it needs are found by dpkg-shlibdeps (package dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME abyssor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarvik software")
set(CPACK_PACKAGE_CONTACT "Tarvik software <abyssor@tarvik.cz>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade shooter: a submarine against the creatures of the deep")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ABYSSOR_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Your submarine circles an ellipse on a sea seen slanting from above; its gun
lobs shells in an arc at the mouse pointer. Sea creatures rise from the
depths, fire at you and ram you; an enemy plane bombs the sea, and you may
call your own air strikes. Four levels with code words, bonuses to shoot, a
gun that overheats and a high-score table, in English and in Czech.")
include(CPack)
