# vr58_expose_headers(<target> <folder>)
# Gives <target> and whatever links it the headers of one source folder, and nothing else of the tree:
# the folder is linked alone into its own include root, so `#include "<folder>/..."` resolves only where
# the including target depends on that folder's library, and a wrong include fails the build.
function(vr58_expose_headers target folder)
  set(include_root ${CMAKE_BINARY_DIR}/include/${folder})
  if(NOT EXISTS ${include_root}/${folder})
    get_filename_component(link_parent ${include_root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${link_parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${include_root}/${folder} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${include_root})
  else()
    target_include_directories(${target} PUBLIC ${include_root})
  endif()
endfunction()
