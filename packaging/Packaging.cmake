# SPDX-License-Identifier: GPL-3.0-or-later
# Installation layout and the Debian package (cpack -G DEB).
#
# The executables install their own rules (tools/cli, tools/sim, src/app). This file adds
# what a desktop installation needs around them: the font files, the desktop entry, the
# icon and the udev rules that give users access to the plotter's USB links.
#
# A system-wide program cannot write beside its executable, so it keeps Inkvale.ini, the
# font files and its folders in ~/.local/share/Inkvale/ and writes its built-in fonts
# there on first use; the copies under share/inkvale/ are the same files for reference.
include(GNUInstallDirs)

install(FILES
    "${PROJECT_SOURCE_DIR}/resources/fon_en.bin"
    "${PROJECT_SOURCE_DIR}/resources/fon_hz.bin"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/inkvale")

# Pre-built translations (when someone ships .qm files instead of building them from .ts).
file(GLOB inkvale_prebuilt_qm "${PROJECT_SOURCE_DIR}/resources/translations/*.qm")
if(inkvale_prebuilt_qm)
    install(FILES ${inkvale_prebuilt_qm} DESTINATION "${CMAKE_INSTALL_DATADIR}/inkvale/translations")
endif()

# The desktop entry starts the window program; without it (a build without GUI) it is left out.
if(INKVALE_BUILD_GUI AND EXISTS "${PROJECT_SOURCE_DIR}/src/app/CMakeLists.txt")
    install(FILES "${CMAKE_CURRENT_LIST_DIR}/org.inkvale.Inkvale.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
    # The software centre's page of the program.
    install(FILES "${CMAKE_CURRENT_LIST_DIR}/org.inkvale.Inkvale.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
endif()
install(FILES "${CMAKE_CURRENT_LIST_DIR}/inkvale.svg"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
# The machine-readable copyright file of the package: our licence and the font sources.
install(FILES "${CMAKE_CURRENT_LIST_DIR}/copyright" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/inkvale")
# The service's systemd units: one for the system (with a user of its own, made by the
# postinst) and one for a user's session, both named inkvale-service.service.
if(TARGET inkvale-service)
    install(FILES "${CMAKE_CURRENT_LIST_DIR}/inkvale-service.service" DESTINATION lib/systemd/system)
    install(FILES "${CMAKE_CURRENT_LIST_DIR}/inkvale-service-user.service"
        DESTINATION lib/systemd/user RENAME inkvale-service.service)
endif()
# Relative to the prefix: /usr/lib/udev/rules.d in the package, read by udev on Debian 12.
install(FILES "${CMAKE_CURRENT_LIST_DIR}/99-inkvale.rules" DESTINATION lib/udev/rules.d)

# Manual pages made at build time from each program's own --help and --version (help2man),
# with the files, exit codes and examples of packaging/man/<program>.h2m: they cannot drift
# from the programs. Without help2man (a development machine) they are left out.
find_program(INKVALE_HELP2MAN help2man)
find_program(INKVALE_GZIP gzip)
if(INKVALE_HELP2MAN AND INKVALE_GZIP)
    set(inkvale_man_pages)
    foreach(program inkvale inkvale-cli inkvale-service inkvale-plotter-sim)
        if(NOT TARGET ${program})
            continue()
        endif()
        set(page "${CMAKE_BINARY_DIR}/man/${program}.1")
        add_custom_command(OUTPUT "${page}.gz"
            COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/man"
            COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen
                    "${INKVALE_HELP2MAN}" --no-info --no-discard-stderr --section=1
                    "--include=${CMAKE_CURRENT_LIST_DIR}/man/${program}.h2m"
                    "--output=${page}" "$<TARGET_FILE:${program}>"
            COMMAND "${INKVALE_GZIP}" -9nf "${page}"
            DEPENDS ${program} "${CMAKE_CURRENT_LIST_DIR}/man/${program}.h2m"
            VERBATIM)
        list(APPEND inkvale_man_pages "${page}.gz")
    endforeach()
    add_custom_target(inkvale_man_pages ALL DEPENDS ${inkvale_man_pages})
    install(FILES ${inkvale_man_pages} DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endif()

# The Debian changelog, one entry per version of CHANGELOG.md.
set(INKVALE_MAINTAINER "Inkvale maintainers <maintainers@inkvale.org>")
if(INKVALE_GZIP)
    set(changelog "${CMAKE_BINARY_DIR}/changelog")
    add_custom_command(OUTPUT "${changelog}.gz"
        COMMAND "${CMAKE_COMMAND}" "-DIN=${PROJECT_SOURCE_DIR}/CHANGELOG.md" "-DOUT=${changelog}"
                "-DMAINTAINER=${INKVALE_MAINTAINER}"
                -P "${CMAKE_CURRENT_LIST_DIR}/DebianChangelog.cmake"
        COMMAND "${INKVALE_GZIP}" -9nf "${changelog}"
        DEPENDS "${PROJECT_SOURCE_DIR}/CHANGELOG.md" "${CMAKE_CURRENT_LIST_DIR}/DebianChangelog.cmake"
        VERBATIM)
    add_custom_target(inkvale_changelog ALL DEPENDS "${changelog}.gz")
    install(FILES "${changelog}.gz" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/inkvale")
endif()

set(CPACK_PACKAGE_NAME "inkvale")
set(CPACK_PACKAGE_VENDOR "Inkvale")
set(CPACK_PACKAGE_CONTACT "${INKVALE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://inkvale.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Host program for wide-format inkjet marker plotters")
set(CPACK_PACKAGE_DESCRIPTION
    "Queues HP-GL and DXF markers, previews and edits them, rasterises each\n"
    "drawing into bands of nozzle data and streams them to the plotter over\n"
    "Ethernet or USB. Includes inkvale-cli (headless front end), inkvale-service\n"
    "(headless service with a status page and an HTTP API) and\n"
    "inkvale-plotter-sim (plotter simulator).")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# Libraries linked directly (Qt, libusb, libstdc++) come from dpkg-shlibdeps; plug-ins that
# Qt loads at run time do not show up there and are listed by hand: the platform plug-ins
# (xcb for the desktop, offscreen for the CLI) and the SVG icon engine of the tool bar.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, adduser")
# The band texts ask for these CJK families; without them Qt falls back to another font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-zenhei, fonts-arphic-ukai, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${CMAKE_CURRENT_LIST_DIR}/postinst;${CMAKE_CURRENT_LIST_DIR}/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
