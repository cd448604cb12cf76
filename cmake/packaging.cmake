# The installed layout and the Debian package.
#
#   cmake --install build --prefix DIR   bin/korvane-settei, bin/korvane-sim; the menu entry, the
#                                        icons, the manual pages, the copyright file and the
#                                        changelog under share/
#   cmake --build build --target package (or cpack in build/)
#                                        build/korvane-settei_<version>_amd64.deb
#
# An installed copy recognises itself by its menu entry in <prefix>/share/applications beside
# <prefix>/bin and keeps its local files in the user's data folder (src/app/local_files_place.h).

include(GNUInstallDirs)

set(_packaging ${CMAKE_SOURCE_DIR}/packaging)

# The window's icon, compiled into the program so that a copy in any folder shows it.
if(KORVANE_WITH_QT)
  add_library(korvane_icon OBJECT)
  qt_add_resources(korvane_icon "korvane_icon" PREFIX "/korvane" BASE ${_packaging}
                   FILES ${_packaging}/korvane-settei.png)
  target_link_libraries(korvane-settei PRIVATE korvane_icon)
endif()

# On Windows a copy is a folder made by windeployqt (docs/DEVELOPING.md, "Windows: the build and its checks"): no install, no package.
if(WIN32)
  return()
endif()

# What Debian asks of a package besides the programs: a manual page for each, the copyright file
# and the changelog, compressed without a name or time stamp so that the same text always gives
# the same bytes.
set(_compressed ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${_compressed})
foreach(_text korvane-settei.1 korvane-sim.1 changelog)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_packaging}/${_text})
  execute_process(COMMAND gzip -9 -n -c ${_packaging}/${_text}
                  OUTPUT_FILE ${_compressed}/${_text}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()

if(KORVANE_WITH_QT)
  install(TARGETS korvane-settei korvane-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${_compressed}/korvane-settei.1.gz ${_compressed}/korvane-sim.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${_packaging}/copyright ${_compressed}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/korvane-settei)
  install(FILES ${_packaging}/korvane-settei.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${_packaging}/korvane-settei.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${_packaging}/korvane-settei.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane-settei)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Korvane")
set(CPACK_PACKAGE_CONTACT "Korvane developers <korvane-settei@korvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "settings tool for the Korvane equatorial-mount controller")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvane Settei reads the parameters of the Korvane hand controller over its
serial port into one window and writes each one back with its own SET button:
motor gearing, site, limits, home position, date and time, WiFi. It comes with
korvane-sim, a simulated controller on a pseudo-terminal.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # korvane-settei_<version>_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps (dpkg-dev) adds the libraries the programs link (Qt, libstdc++, libc); the font
# the window is laid out in, and the Qt platform plugins that open a window at all, are not
# linked and so are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-qpa-plugins")

include(CPack)
