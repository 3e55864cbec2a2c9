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
  "the bridges for Nautilus, Nemo, Caja, Thunar and Dolphin.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "Pallstone developers <pallstone@tolvane.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
# The package is built for the release it is built on (its library versions and the Dolphin
# bridge's generation differ), so its name says which: debian12, debian13, or the codename where
# the release has no number yet (testing).
cmake_host_system_information(RESULT distro_version QUERY DISTRIB_VERSION_ID)
cmake_host_system_information(RESULT distro_codename QUERY DISTRIB_VERSION_CODENAME)
if(distro_version)
  set(PALLSTONE_DEB_RELEASE "debian${distro_version}")
elseif(distro_codename)
  set(PALLSTONE_DEB_RELEASE "debian-${distro_codename}")
else()
  set(PALLSTONE_DEB_RELEASE "debian")
endif()
set(CPACK_DEBIAN_FILE_NAME "pallstone_${PROJECT_VERSION}_${PALLSTONE_DEB_RELEASE}_amd64.deb")
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
# These are what the programs load or run; the libraries they link come from dpkg-shlibdeps, run
# on the two programs and the conversion module only (PallstoneCPackOptions.cmake). A bridge is
# loaded only by its file manager, which brings the libraries the bridge links: a GNOME desktop
# gets no KDE libraries for the Dolphin bridge, and a KDE one no GTK file manager's.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
# Qt's SVG image and icon plugins (menu and folder icons) come with libqt6svg6 up to Qt 6.4 and in
# a package of their own since: the package depends on the one that holds them where it is built.
set(PALLSTONE_SVG_PLUGIN_PACKAGE libqt6svg6)
execute_process(COMMAND dpkg-query -S "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/imageformats/libqsvg.so"
  OUTPUT_VARIABLE svg_owner ERROR_QUIET RESULT_VARIABLE svg_unknown)
if(NOT svg_unknown AND svg_owner MATCHES "^([^:,]+)")
  set(PALLSTONE_SVG_PLUGIN_PACKAGE ${CMAKE_MATCH_1})
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "default-dbus-session-bus | dbus-session-bus, libglib2.0-bin, qt6-qpa-plugins, libqt6svg6")
if(NOT PALLSTONE_SVG_PLUGIN_PACKAGE STREQUAL libqt6svg6)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${PALLSTONE_SVG_PLUGIN_PACKAGE}")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "nautilus | nemo | caja | thunar | dolphin, fonts-font-awesome, qt6-image-formats-plugins, qt6-gtk-platformtheme")
set(CPACK_DEBIAN_PACKAGE_ENHANCES "nautilus, nemo, caja, thunar, dolphin")
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/PallstoneCPackOptions.cmake CONTENT "\
if(CPACK_GENERATOR STREQUAL \"DEB\")
  set(work \"${CMAKE_BINARY_DIR}/shlibdeps\")
  file(MAKE_DIRECTORY \"\${work}/debian\")
  file(WRITE \"\${work}/debian/control\" \"Source: pallstone\\n\\nPackage: pallstone\\nArchitecture: any\\n\")
  execute_process(COMMAND dpkg-shlibdeps -O
      \"-e$<TARGET_FILE:pallstone>\" \"-e$<TARGET_FILE:pallstone-extension>\"
      \"-e$<TARGET_FILE:pallstone-convert>\"
    WORKING_DIRECTORY \"\${work}\" OUTPUT_VARIABLE shlibs ERROR_VARIABLE messages
    RESULT_VARIABLE failed)
  if(failed OR NOT shlibs MATCHES \"shlibs:Depends=([^\\n]+)\")
    message(FATAL_ERROR \"dpkg-shlibdeps gave no dependencies for the programs: \${messages}\")
  endif()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS \"\${CPACK_DEBIAN_PACKAGE_DEPENDS}, \${CMAKE_MATCH_1}\")
endif()
")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/PallstoneCPackOptions.cmake)
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(STATUS "Install prefix ${CMAKE_INSTALL_PREFIX}: configure with "
                 "-DCMAKE_INSTALL_PREFIX=/usr to make the Debian package")
endif()
include(CPack)
