# Installation (cmake --install) and the Debian package (cpack, tools/package.sh).
#
#   bin/                                   kalvo, kalvo-cli, txr-sim
#   share/kalvo-multi/                     wiring pictures, product.ini (found from bin/../share)
#   share/applications/, share/metainfo/  desktop entry, AppStream metadata
#   share/icons/hicolor/scalable/apps/     the icon
#   share/mime/packages/                   the project file's type (by its header)
#   share/man/man1/                        kalvo(1), kalvo-cli(1), txr-sim(1)
#   share/doc/kalvo-multi/                 the user guide with its pictures, copyright, changelog
include(GNUInstallDirs)
set(KALVO_APP_ID com.example.KalvoMulti)
set(KALVO_DATADIR ${CMAKE_INSTALL_DATADIR}/kalvo-multi)
set(KALVO_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/kalvo-multi)
set(_linux ${CMAKE_SOURCE_DIR}/assets/linux)

# The user guide and its pictures in the build tree as they are installed, beside the programs.
file(GLOB_RECURSE _guide_pictures CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/docs
     ${CMAKE_SOURCE_DIR}/docs/images/*.png)
configure_file(${CMAKE_SOURCE_DIR}/docs/user-guide.md ${CMAKE_BINARY_DIR}/docs/user-guide.md
               COPYONLY)
foreach(_picture ${_guide_pictures})
    configure_file(${CMAKE_SOURCE_DIR}/docs/${_picture} ${CMAKE_BINARY_DIR}/docs/${_picture}
                   COPYONLY)
endforeach()

if(TARGET txr-sim)
    install(TARGETS txr-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(KALVO_BUILD_UI)
    install(TARGETS kalvo kalvo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${KALVO_WIRING_PICTURES} ${CMAKE_BINARY_DIR}/product.ini
            DESTINATION ${KALVO_DATADIR})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/docs/user-guide.md DESTINATION ${KALVO_DOCDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/images DESTINATION ${KALVO_DOCDIR})

if(UNIX AND NOT APPLE AND KALVO_BUILD_UI)
    configure_file(${_linux}/${KALVO_APP_ID}.metainfo.xml
                   ${CMAKE_BINARY_DIR}/linux/${KALVO_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${_linux}/${KALVO_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_BINARY_DIR}/linux/${KALVO_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${_linux}/${KALVO_APP_ID}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${_linux}/kalvo-multi.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
    install(FILES ${_linux}/copyright DESTINATION ${KALVO_DOCDIR})

    # Compressed without names and time stamps, so the package is the same for the same sources.
    find_program(KALVO_GZIP gzip REQUIRED)
    configure_file(${_linux}/changelog.in ${CMAKE_BINARY_DIR}/linux/changelog @ONLY)
    set(_packaged ${CMAKE_BINARY_DIR}/linux/changelog.gz)
    add_custom_command(OUTPUT ${_packaged}
        COMMAND ${KALVO_GZIP} -9nkf ${CMAKE_BINARY_DIR}/linux/changelog
        DEPENDS ${CMAKE_BINARY_DIR}/linux/changelog VERBATIM)
    install(FILES ${_packaged} DESTINATION ${KALVO_DOCDIR})

    # Manual pages from each program's --help and --version, with the sections of
    # assets/man/<program>.h2m (exit codes, files, examples).
    find_program(KALVO_HELP2MAN help2man)
    if(KALVO_HELP2MAN)
        foreach(_program kalvo kalvo-cli txr-sim)
            set(_page ${CMAKE_BINARY_DIR}/man/${_program}.1)
            set(_include ${CMAKE_SOURCE_DIR}/assets/man/${_program}.h2m)
            add_custom_command(OUTPUT ${_page}.gz
                COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
                COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
                        ${KALVO_HELP2MAN} --no-info --include=${_include} --output=${_page}
                        $<TARGET_FILE:${_program}>
                COMMAND ${KALVO_GZIP} -9nf ${_page}
                DEPENDS ${_program} ${_include} VERBATIM)
            list(APPEND _packaged ${_page}.gz)
            install(FILES ${_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
        endforeach()
    else()
        message(STATUS "help2man not found: no manual pages (tools/setup.sh installs it)")
    endif()
    add_custom_target(kalvo_packaged_docs ALL DEPENDS ${_packaged})
endif()

# ---- the Debian package ----------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvo-multi)
set(CPACK_PACKAGE_VENDOR "Musterfirma Messtechnik GmbH")
set(CPACK_PACKAGE_CONTACT "Musterfirma Messtechnik GmbH <info@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure, program and watch TXR 3.0 multi-transducers")
set(CPACK_PACKAGE_DESCRIPTION "Kalvo Multi talks to TXR 3.0 three-phase multi-transducers over\n\
RS-232 or RS-485: it identifies the unit, reads its configuration back, edits\n\
and checks a configuration, programs it, keeps project files, prints a data\n\
sheet and shows the live measured values. kalvo-cli runs the same sequences\n\
for scripts and production lines, and txr-sim simulates a transducer for\n\
training and tests.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: the data sheet's fonts, Qt's German words, and Qt's display plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-dejavu-core, fonts-liberation2, qt6-translations-l10n, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
