# Installation layout and the Debian package.
#
#   cmake --install <build dir> --prefix <dir>   the programs, the menu entry, the icon, the guide
#   (cd <build dir> && cpack)                     tc8-configurator_<version>_<arch>.deb
#
# The package's library dependencies are read off the installed programs by dpkg-shlibdeps;
# the Qt packages the programs load at run time rather than link are named here.

include(GNUInstallDirs)

install(TARGETS tc8-configurator tc8-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

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
# One line of the long description per line here: dpkg shows them as they are.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Konfigurator TC-8 connects a PC to a TC-8 temperature recorder (KVAM controller"
       "family) over RS-232 or a USB serial adapter. A service technician logs on with the"
       "recorder's password, reads and writes its configuration, keeps configurations in"
       "files, watches the live temperatures and supply voltage, downloads the temperature"
       "history to a text file, sets the recorder's clock and updates its firmware. The"
       "window speaks Polish."
       ""
       "The package also holds tc8-sim, a simulated recorder on a pseudo-terminal for"
       "trying the program without hardware.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/tc8")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The X11/Wayland platform plugins (only recommended by Qt's GUI library) and Qt's own Polish
# texts for its standard dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")

include(CPack)
