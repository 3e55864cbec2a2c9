# `uninstall` and the Debian package (cpack -G DEB).

# The folders that only Pallstone installs into (children first), removed by `uninstall` once
# empty.
set(PALLSTONE_OWN_DIRS
  "${CMAKE_INSTALL_FULL_DATADIR}/pallstone/icons" "${CMAKE_INSTALL_FULL_DATADIR}/pallstone")
configure_file(${CMAKE_CURRENT_LIST_DIR}/PallstoneUninstall.cmake.in
  ${CMAKE_BINARY_DIR}/PallstoneUninstall.cmake @ONLY)
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -P ${CMAKE_BINARY_DIR}/PallstoneUninstall.cmake
  COMMENT "Removing the files listed in install_manifest.txt")

# The install paths are compiled in (the data folder, the service's Exec line): a package is
# made from a build configured with -DCMAKE_INSTALL_PREFIX=/usr (scripts/check-deb.sh does).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pallstone)
set(CPACK_PACKAGE_VENDOR "Tolvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
  "Pallstone adds the menu you compose to the right-click menu of your file manager: new files\n"
  "from templates, open with applications, terminals, favourite folders, copy and move, paths,\n"
  "hiding, locking, image conversion, checksums and more. It brings the settings application\n"
  "(pallstone), the extension service started on the session bus (pallstone-extension) and\n"
  "the Nautilus bridge.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "Pallstone developers <pallstone@tolvane.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME "pallstone_${PROJECT_VERSION}_amd64.deb")
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
# Libraries the programs link come from dpkg-shlibdeps; these are what they load or run.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "default-dbus-session-bus | dbus-session-bus, libglib2.0-bin, qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "nautilus, fonts-font-awesome, qt6-image-formats-plugins")
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(STATUS "Install prefix ${CMAKE_INSTALL_PREFIX}: configure with "
                 "-DCMAKE_INSTALL_PREFIX=/usr to make the Debian package")
endif()
include(CPack)
