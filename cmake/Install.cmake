# What `cmake --install` puts where, the Debian package made from it, and the tests that
# check both.
include(GNUInstallDirs)

# One name for the desktop entry, the metainfo, the icon and the window's desktop file name,
# so the desktop matches the running window to its launcher.
set(SKYLOOM_APP_ID com.brightwell.Skyloom)
set(SKYLOOM_RELEASE_DATE 2026-12-10)
set(SKYLOOM_ICON_SIZES 16 22 24 32 48 64 128 256)

target_compile_definitions(skyloom PRIVATE SKYLOOM_APP_ID="${SKYLOOM_APP_ID}")

install(TARGETS skyloom RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/${SKYLOOM_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(packaging/${SKYLOOM_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${SKYLOOM_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${SKYLOOM_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES resources/icons/skyloom.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${SKYLOOM_APP_ID}.svg)
foreach(size ${SKYLOOM_ICON_SIZES})
  install(FILES resources/icons/skyloom-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${SKYLOOM_APP_ID}.png)
endforeach()

# `make package` in the build folder: skyloom_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skyloom)
set(CPACK_PACKAGE_VENDOR Brightwell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "weather globe with the day's weather maps")
# CPack puts the summary first and indents these lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Skyloom shows the Earth as a 3D globe draped with today's global weather
maps: temperature, rain and snow, wind with pressure, the temperature
anomaly against a 1979-2000 baseline, and day and night with city lights.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Brightwell Software <skyloom@brightwell.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libqt6 packages and the rest come from what the program links, by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)

# Registered here rather than in tests/, which is read before these names are set. The
# scripts take the sizes as one word list.
string(REPLACE ";" " " icon_sizes "${SKYLOOM_ICON_SIZES}")
add_test(NAME install
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/check-install.sh ${CMAKE_BINARY_DIR}
                 ${SKYLOOM_APP_ID} ${PROJECT_VERSION} "${icon_sizes}")
add_test(NAME package
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/check-package.sh ${CMAKE_BINARY_DIR}
                 ${SKYLOOM_APP_ID} ${PROJECT_VERSION} "${icon_sizes}"
                 "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}")
set_tests_properties(install package PROPERTIES TIMEOUT 300)
