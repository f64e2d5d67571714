# The installers, beside the release archives: the Debian package (target vr58_deb, Linux build) and
# the Windows setup program (target vr58_setup, Windows build). Neither is part of the default build;
# scripts/package.sh makes both, and the install tests make what they test.
if(CMAKE_CROSSCOMPILING AND WIN32)
  # NSIS's setup stub is 32-bit, so on 32-bit Windows it runs far enough to refuse with a message.
  set(setup ${CMAKE_BINARY_DIR}/VR58-${VR58_RELEASE_VERSION}-setup.exe)
  set(inputs ${CMAKE_BINARY_DIR}/setup)
  set(nsi ${PROJECT_SOURCE_DIR}/packaging/windows/vr58-setup.nsi)
  add_custom_target(vr58_setup
    COMMAND ${CMAKE_COMMAND} -DPRESETS_DIR=${VR58_FACTORY_PRESETS_DIR} -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE.txt
            -DOUTPUT_DIR=${inputs} -P ${PROJECT_SOURCE_DIR}/packaging/windows/SetupInputs.cmake
    COMMAND makensis -V2 -DVERSION=${VR58_RELEASE_VERSION} -DFILE_VERSION=${PROJECT_VERSION}.0
            -DEDITOR_DLL=$<TARGET_FILE:VR58G_x64> -DPLAIN_DLL=$<TARGET_FILE:VR58_x64>
            -DVR58_EXE=$<TARGET_FILE:vr58> -DMANUAL=${PROJECT_SOURCE_DIR}/docs/manual.md
            -DLICENSE=${inputs}/LICENSE.txt -DPRESET_LIST=${inputs}/presets.nsh -DOUTFILE=${setup} ${nsi}
    DEPENDS VR58G_x64 VR58_x64 vr58
    BYPRODUCTS ${setup}
    COMMENT "Setup program ${setup}"
    VERBATIM)
elseif(NOT WIN32 AND VR58_AUDIO_FILE_COMMANDS AND NOT VR58_SANITIZE AND NOT VR58_SANITIZE_THREADS
       AND NOT VR58_FUZZ)
  set(VR58_DEB_FILE ${CMAKE_BINARY_DIR}/vr58_${PROJECT_VERSION}_amd64.deb)
  add_custom_target(vr58_deb
    COMMAND ${PROJECT_SOURCE_DIR}/packaging/deb/make-deb.sh ${VR58_DEB_FILE} ${PROJECT_VERSION}
            ${PROJECT_SOURCE_DIR} $<TARGET_FILE:vr58> $<TARGET_FILE:VR58G_x64> ${VR58_LV2_EDITOR_BUNDLE_DIR}
            ${VR58_LV2_PLAIN_BUNDLE_DIR} ${VR58_PRESETS_OUTPUT_DIR}
    DEPENDS vr58 VR58G_x64 vr58_lv2_bundles vr58_factory_presets
    BYPRODUCTS ${VR58_DEB_FILE}
    COMMENT "Debian package ${VR58_DEB_FILE}"
    VERBATIM)
endif()
