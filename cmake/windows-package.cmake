# The portable zip of the Windows edition: both programs and the side files
# they read from their own folder, in one folder named like the zip.
set(HOSHIZORA_PACKAGE_EXECUTABLES hoshizora-cli)
if(TARGET hoshizora)
  list(PREPEND HOSHIZORA_PACKAGE_EXECUTABLES hoshizora)
endif()
install(TARGETS ${HOSHIZORA_PACKAGE_EXECUTABLES} RUNTIME DESTINATION .)
install(FILES
  ${PROJECT_SOURCE_DIR}/assets/app.ico
  ${PROJECT_SOURCE_DIR}/assets/和文電報受信用紙.jpg
  ${PROJECT_SOURCE_DIR}/packaging/windows/MP3について.txt
  ${PROJECT_SOURCE_DIR}/packaging/windows/はじめにお読みください.txt
  ${PROJECT_SOURCE_DIR}/LICENSE
  DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME hoshizora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME hoshizora-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
