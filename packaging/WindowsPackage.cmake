# The Windows build ships the tool alone: `cpack -G ZIP` in it (or the
# `package` target) makes larkspan-rfa-<version>-win64.zip, one folder of
# that name holding rfa.exe, the README and the licence.
install(TARGETS rfa RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME larkspan-rfa)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME larkspan-rfa-${PROJECT_VERSION}-win64)
set(CPACK_STRIP_FILES ON)
include(CPack)
