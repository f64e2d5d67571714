# Writes what the setup program is made from besides the build's files:
# - the list of factory presets (an NSIS include) from the presets the Linux build made: a macro per
#   plug-in that installs its .fxp files by name, and one that deletes exactly those names again, so
#   removal never touches a preset the user saved beside them;
# - the licence with each paragraph on one line, so the licence page wraps it to its own width.
# cmake -DPRESETS_DIR=<build/linux/presets> -DLICENSE=<LICENSE.txt> -DOUTPUT_DIR=<dir> -P SetupInputs.cmake
set(text "; Made by the build from the factory presets; do not edit.\n")
set(remove "!macro VR58_REMOVE_PRESETS\n")
foreach(plugin VR58G_x64 VR58_x64)
  file(GLOB presets "${PRESETS_DIR}/${plugin}/*.fxp")
  if(NOT presets)
    message(FATAL_ERROR "No factory presets in '${PRESETS_DIR}/${plugin}': they are made by the Linux build "
                        "(cmake --build --preset linux) before the setup program")
  endif()
  list(SORT presets)
  string(APPEND text "!macro VR58_INSTALL_PRESETS_${plugin}\n")
  foreach(preset IN LISTS presets)
    get_filename_component(name "${preset}" NAME)
    string(APPEND text "  File \"${preset}\"\n")
    string(APPEND remove "  Delete \"$AppDir\\presets\\${plugin}\\${name}\"\n")
  endforeach()
  string(APPEND text "!macroend\n")
  string(APPEND remove "  RMDir \"$AppDir\\presets\\${plugin}\"\n")
endforeach()
string(APPEND remove "  RMDir \"$AppDir\\presets\"\n!macroend\n")
file(CONFIGURE OUTPUT "${OUTPUT_DIR}/presets.nsh" CONTENT "${text}${remove}" @ONLY)

file(READ "${LICENSE}" licence)
string(REGEX REPLACE "([^\n])\n([^\n])" "\\1 \\2" licence "${licence}")
file(CONFIGURE OUTPUT "${OUTPUT_DIR}/LICENSE.txt" CONTENT "${licence}" @ONLY)
