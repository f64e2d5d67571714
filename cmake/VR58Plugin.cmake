# vr58_add_plugin(<target> SOURCES <build-config source> LIBRARIES <libs...> [EDITOR])
# Makes one VST 2.4 plug-in library from the adapter over the engine (vst2/) plus the source that picks the
# build's configuration. Output: <target>.so on Linux, <target>.dll on Windows, both in
# ${VR58_PLUGIN_OUTPUT_DIR}; only VSTPluginMain and main are exported.
function(vr58_add_plugin target)
  cmake_parse_arguments(P "EDITOR" "" "SOURCES;LIBRARIES" ${ARGN})
  add_library(${target} SHARED ${P_SOURCES} ${PROJECT_SOURCE_DIR}/vst2/plugin_entry.cpp)
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${target}
    LIBRARY_OUTPUT_DIRECTORY ${VR58_PLUGIN_OUTPUT_DIR}
    RUNTIME_OUTPUT_DIRECTORY ${VR58_PLUGIN_OUTPUT_DIR})
  vr58_apply_compile_rules(${target})
  target_link_libraries(${target} PRIVATE vr58_vst2_adapter vr58_engine vr58_engine_os vr58_vst2_os ${P_LIBRARIES})
  if(WIN32)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/vst2/platform/win32/vr58_exports.def
    ${PROJECT_SOURCE_DIR}/vst2/platform/win32/dll_main.cpp)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp -s)
  else()
    # The fuzz build's sanitizer runtime lives in the executable that loads the plug-in.
    if(NOT VR58_FUZZ)
      target_link_options(${target} PRIVATE -Wl,--no-undefined)
    endif()
    target_link_options(${target} PRIVATE -static-libgcc -static-libstdc++ -Wl,--defsym=main=VSTPluginMain
      -Wl,--version-script=${PROJECT_SOURCE_DIR}/vst2/platform/posix/vr58_exports.map)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
      ${PROJECT_SOURCE_DIR}/vst2/platform/posix/vr58_exports.map)
  endif()
  set_property(GLOBAL APPEND PROPERTY VR58_PLUGINS ${target})
endfunction()
