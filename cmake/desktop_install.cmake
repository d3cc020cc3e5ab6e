# What makes Lumeno a desktop program once installed: the desktop entry, the icon in every
# hicolor size, the AppStream metadata and the manual pages. The PNG icons and the manual
# pages are made from their sources by the build (rsvg-convert, scdoc, gzip), so nothing
# generated is kept in git. Then the Debian package.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/release_date.cmake)

set(LUMENO_APP_ID io.github.lumeno.Lumeno)
set(LUMENO_ICON_SIZES 16 24 32 48 64 128 256)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(desktop_out ${PROJECT_BINARY_DIR}/desktop)

find_program(LUMENO_RSVG_CONVERT rsvg-convert)
find_program(LUMENO_SCDOC scdoc)
find_program(LUMENO_GZIP gzip)
if(NOT LUMENO_RSVG_CONVERT OR NOT LUMENO_SCDOC OR NOT LUMENO_GZIP)
  message(FATAL_ERROR "rsvg-convert, scdoc and gzip make the icons and manual pages: run scripts/install-deps")
endif()

set(generated)
foreach(size IN LISTS LUMENO_ICON_SIZES)
  set(png ${desktop_out}/icons/${size}x${size}/${LUMENO_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${desktop_out}/icons/${size}x${size}
    COMMAND ${LUMENO_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${packaging}/${LUMENO_APP_ID}.svg
    DEPENDS ${packaging}/${LUMENO_APP_ID}.svg VERBATIM)
  list(APPEND generated ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages are installed compressed, as Debian wants them; -n keeps the name and time
# out of the gzip header so rebuilds give the same bytes.
foreach(page lumeno.6 lumeno-render.1)
  string(REGEX MATCH "[0-9]+$" section ${page})
  set(gz ${desktop_out}/man/${page}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${desktop_out}/man
    COMMAND sh -c "\"$1\" < \"$2\" > \"$3\" && \"$4\" -9nf \"$3\"" sh
            ${LUMENO_SCDOC} ${packaging}/${page}.scd ${desktop_out}/man/${page} ${LUMENO_GZIP}
    DEPENDS ${packaging}/${page}.scd VERBATIM)
  list(APPEND generated ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()

add_custom_target(lumeno_desktop_files ALL DEPENDS ${generated})

configure_file(${packaging}/${LUMENO_APP_ID}.metainfo.xml.in ${desktop_out}/${LUMENO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${packaging}/${LUMENO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/${LUMENO_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${desktop_out}/${LUMENO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
