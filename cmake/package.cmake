# The Debian package that scripts/package makes with CPack: lumeno_<version>_<arch>.deb, its
# version that of project(), its library dependencies worked out by dpkg-shlibdeps.

set(LUMENO_PACKAGE_MAINTAINER "Lumeno developers <lumeno@lumeno.invalid>"
    CACHE STRING "Maintainer field of the Debian package and its changelog")
set(LUMENO_MAINTAINER ${LUMENO_PACKAGE_MAINTAINER})

# Debian wants the copyright and a compressed changelog in /usr/share/doc/<package>.
set(package_doc ${CMAKE_INSTALL_DATAROOTDIR}/doc/lumeno)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${PROJECT_BINARY_DIR}/desktop/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/desktop/changelog.gz
  COMMAND ${LUMENO_GZIP} -9nkf ${PROJECT_BINARY_DIR}/desktop/changelog
  DEPENDS ${PROJECT_BINARY_DIR}/desktop/changelog VERBATIM)
add_custom_target(lumeno_package_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/desktop/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${PROJECT_BINARY_DIR}/desktop/changelog.gz
        DESTINATION ${package_doc})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumeno)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${LUMENO_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive particle toy")
set(CPACK_PACKAGE_DESCRIPTION
    "Lumeno pulls a cloud of up to 3,375,000 particles towards the mouse pointer and\n\
draws them every frame as glowing additive streaks into a canvas that keeps its\n\
trails. Screenshots, films (through ffmpeg) and settings presets are included;\n\
lumeno-render draws the same pictures without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS ffmpeg)
# Files and folders root-owned with 644/755, whatever the umask of whoever builds.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
