# `cpack --config build/CPackConfig.cmake` (or `cmake --build build --target
# package`) makes larkspan_<version>_<arch>.deb of the installed tree.
set(LARKSPAN_PACKAGE_MAINTAINER "Larkspan developers <larkspan@ostmere.org>"
    CACHE STRING "The Maintainer of the .deb: a name and an address")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME larkspan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${LARKSPAN_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Lines kept short for the Description field.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Larkspan opens the RFA archives in which Battlefield 1942 keeps the levels,"
  "objects, textures, scripts and settings of its mods. The editor shows an"
  "archive as a tree of folders and files, adds and extracts entries, moves"
  "them by drag and drop, searches names and text, and opens scripts and"
  "textures in place. The rfa command-line tool lists, unpacks, packs and"
  "checks the same archives from scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from the libraries the programs link (the Qt 6 runtime for
# the editor), as dpkg-shlibdeps reads them from the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Without it Qt runs through XWayland on a Wayland desktop, which works.
if(TARGET larkspan)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
