# Installation layout and the Debian package.
#
#   cmake --build <build dir> --target tc8-package-docs
#                                   the compressed manual pages and changelog (also in "all")
#   cmake --install <build dir> --prefix <dir>
#                                   the programs, their manual pages, the menu entry, the icon,
#                                   the guide, the changelog and the copyright file
#   (cd <build dir> && cpack)       tc8-configurator_<version>_<arch>.deb
#
# The package's library dependencies are read off the installed programs by dpkg-shlibdeps;
# the Qt packages the programs load at run time rather than link are named here.
# scripts/check-package.sh builds the package and holds it to lintian.

include(GNUInstallDirs)

set(TC8_PROGRAMS tc8-configurator tc8-sim tc8-cli)
install(TARGETS ${TC8_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Debian wants manual pages and the changelog gzip-compressed. They are compressed here, in the
# build folder, rather than at install time, and with -n, so that no name or time stamp enters
# the .gz files: the same sources give the same package bytes.
find_program(TC8_GZIP gzip REQUIRED)
set(TC8_PACKAGE_DOCS_DIR ${PROJECT_BINARY_DIR}/package-docs)
file(MAKE_DIRECTORY ${TC8_PACKAGE_DOCS_DIR})
set(TC8_PACKAGE_DOCS)
# Copies source to <TC8_PACKAGE_DOCS_DIR>/<name> and compresses it there to <name>.gz.
function(tc8_gzip source name)
    set(output ${TC8_PACKAGE_DOCS_DIR}/${name}.gz)
    add_custom_command(OUTPUT ${output}
                       COMMAND ${CMAKE_COMMAND} -E copy ${source} ${TC8_PACKAGE_DOCS_DIR}/${name}
                       COMMAND ${TC8_GZIP} -9nf ${TC8_PACKAGE_DOCS_DIR}/${name}
                       DEPENDS ${source}
                       COMMENT "Compressing ${name}"
                       VERBATIM)
    set(TC8_PACKAGE_DOCS ${TC8_PACKAGE_DOCS} ${output} PARENT_SCOPE)
endfunction()
foreach(program IN LISTS TC8_PROGRAMS)
    tc8_gzip(${PROJECT_SOURCE_DIR}/docs/man/${program}.1 ${program}.1)
    install(FILES ${TC8_PACKAGE_DOCS_DIR}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# A native package: its changelog is changelog.gz, not changelog.Debian.gz.
tc8_gzip(${PROJECT_SOURCE_DIR}/packaging/changelog changelog)
add_custom_target(tc8-package-docs ALL DEPENDS ${TC8_PACKAGE_DOCS})
install(FILES ${TC8_PACKAGE_DOCS_DIR}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(TC8_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
install(FILES ${TC8_DATA_DIR}/tc8-configurator.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${TC8_DATA_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${TC8_DATA_DIR}/icons/tc8-configurator.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/docs/USER-GUIDE.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tc8-configurator)
set(CPACK_PACKAGE_VENDOR "Zespół TC-8")
set(CPACK_PACKAGE_CONTACT "Zespół TC-8 <tc8@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for TC-8 temperature recorders")
# One line of the long description per line here: dpkg shows them as they are, and Debian
# allows at most 80 characters a line (lintian checks it).
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Konfigurator TC-8 connects a PC to a TC-8 temperature recorder (KVAM"
       "controller family) over RS-232 or a USB serial adapter. A service technician"
       "logs on with the recorder's password, reads and writes its configuration,"
       "keeps configurations in files, watches the live temperatures and supply"
       "voltage, downloads the temperature history to a text file, sets the"
       "recorder's clock and updates its firmware. The window speaks Polish."
       ""
       "tc8-cli does the same work from a terminal or a script, for instance a"
       "nightly history download. tc8-sim is a simulated recorder on a"
       "pseudo-terminal for trying both without hardware.")
set(CPACK_STRIP_FILES ON)
set(CPACK_TC8_OBJCOPY ${CMAKE_OBJCOPY})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/RemoveComments.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/tc8")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The X11/Wayland platform plugins (only recommended by Qt's GUI library), Qt's own Polish
# texts for its standard dialogs, the SQLite driver of the archive of downloads and the
# PostgreSQL one of the company archive, and the font the report is set in (it has every
# Polish letter).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, libqt6sql6-sqlite, \
libqt6sql6-psql, fonts-dejavu-core")

include(CPack)
