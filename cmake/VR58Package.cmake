# The release archive VR58-<version>-win64.zip: both DLLs, the install note, the licence and the
# SHA-256 sums of the DLLs.
set(VR58_RELEASE_VERSION 1.10)
set(checksums ${CMAKE_BINARY_DIR}/SHA256SUMS.txt)
add_custom_command(OUTPUT ${checksums}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${checksums} "-DFILES=$<TARGET_FILE:VR58G_x64>$<SEMICOLON>$<TARGET_FILE:VR58_x64>"
          -P ${PROJECT_SOURCE_DIR}/cmake/WriteChecksums.cmake
  DEPENDS VR58G_x64 VR58_x64 ${PROJECT_SOURCE_DIR}/cmake/WriteChecksums.cmake
  COMMENT "SHA-256 sums of the plug-ins"
  VERBATIM)
add_custom_target(vr58_checksums ALL DEPENDS ${checksums})

install(TARGETS VR58G_x64 VR58_x64 RUNTIME DESTINATION . LIBRARY DESTINATION .)
install(FILES ${checksums} ${PROJECT_SOURCE_DIR}/resources/INSTALL.txt ${PROJECT_SOURCE_DIR}/LICENSE.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME VR58)
set(CPACK_PACKAGE_VENDOR Quorvane)
set(CPACK_PACKAGE_VERSION ${VR58_RELEASE_VERSION})
set(CPACK_PACKAGE_FILE_NAME VR58-${VR58_RELEASE_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES OFF) # the DLLs are stripped when linked, so the sums match what ships
include(CPack)
