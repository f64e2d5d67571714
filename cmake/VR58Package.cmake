# The release archive of each platform, made by the package target (scripts/package.sh makes both):
#   Windows: VR58-<version>-win64.zip          Linux: VR58-<version>-linux-x86_64.tar.gz
# Each holds both plug-ins (Linux: also as the LV2 bundles lv2/VR58G.lv2 and lv2/VR58.lv2), the vr58 command (Windows: vr58.exe, the validator only), the factory presets
# (presets/<plug-in>/*.fxp), the manual, an install note, the licence and the SHA-256 sums of the
# plug-ins and the command. The presets are made by the Linux build, which runs the
# plug-ins; the Windows archive takes them from there (VR58_FACTORY_PRESETS_DIR).
if(WIN32)
  set(package_name VR58-${VR58_RELEASE_VERSION}-win64)
  set(install_note_source ${PROJECT_SOURCE_DIR}/resources/INSTALL.txt.in)
  set(VR58_FACTORY_PRESETS_DIR "" CACHE PATH "Factory presets made by the Linux build (its presets folder)")
  set(presets_dir ${VR58_FACTORY_PRESETS_DIR})
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(package_name VR58-${VR58_RELEASE_VERSION}-linux-x86_64)
  set(install_note_source ${PROJECT_SOURCE_DIR}/resources/INSTALL-linux.txt.in)
  set(presets_dir ${VR58_PRESETS_OUTPUT_DIR})
  set(CPACK_GENERATOR TGZ)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()

set(install_note ${CMAKE_BINARY_DIR}/INSTALL.txt)
configure_file(${install_note_source} ${install_note} @ONLY)
# scripts/package.sh finds the archive by this name.
file(WRITE ${CMAKE_BINARY_DIR}/package-name.txt "${package_name}\n")

set(checksums ${CMAKE_BINARY_DIR}/SHA256SUMS.txt)
# The Linux archive also carries the two LV2 bundles (lv2/VR58G.lv2, lv2/VR58.lv2) and sums their libraries.
set(lv2_checksum_arguments)
set(lv2_targets)
if(TARGET vr58_lv2_bundles)
  set(lv2_checksum_arguments "-DNESTED=$<TARGET_FILE:VR58G>$<SEMICOLON>$<TARGET_FILE:VR58>"
      -DNESTED_BASE=${CMAKE_BINARY_DIR})
  set(lv2_targets VR58G VR58)
endif()
add_custom_command(OUTPUT ${checksums}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${checksums}
          "-DFILES=$<TARGET_FILE:VR58G_x64>$<SEMICOLON>$<TARGET_FILE:VR58_x64>$<SEMICOLON>$<TARGET_FILE:vr58>"
          ${lv2_checksum_arguments}
          -P ${PROJECT_SOURCE_DIR}/cmake/WriteChecksums.cmake
  DEPENDS VR58G_x64 VR58_x64 vr58 ${lv2_targets} ${PROJECT_SOURCE_DIR}/cmake/WriteChecksums.cmake
  COMMENT "SHA-256 sums of the plug-ins and the vr58 command"
  VERBATIM)
add_custom_target(vr58_checksums ALL DEPENDS ${checksums})

install(TARGETS VR58G_x64 VR58_x64 vr58 RUNTIME DESTINATION . LIBRARY DESTINATION .)
install(FILES ${install_note} DESTINATION .)
install(FILES ${checksums} ${PROJECT_SOURCE_DIR}/LICENSE.txt ${PROJECT_SOURCE_DIR}/docs/manual.md DESTINATION .)
# An archive without its presets is refused rather than shipped.
install(CODE "
  if(NOT IS_DIRECTORY \"${presets_dir}/VR58G_x64\" OR NOT IS_DIRECTORY \"${presets_dir}/VR58_x64\")
    message(FATAL_ERROR \"No factory presets in '${presets_dir}': they are made by the Linux build; \"
                        \"make both archives with scripts/package.sh\")
  endif()")
install(DIRECTORY ${presets_dir}/VR58G_x64 ${presets_dir}/VR58_x64 DESTINATION presets)
if(TARGET vr58_lv2_bundles)
  install(DIRECTORY ${VR58_LV2_EDITOR_BUNDLE_DIR} ${VR58_LV2_PLAIN_BUNDLE_DIR} DESTINATION lv2
          USE_SOURCE_PERMISSIONS)
endif()

set(CPACK_PACKAGE_NAME VR58)
set(CPACK_PACKAGE_VENDOR Quorvane)
set(CPACK_PACKAGE_VERSION ${VR58_RELEASE_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${package_name})
set(CPACK_STRIP_FILES OFF) # the sums are of the files as built, so nothing may change them on the way
include(CPack)
