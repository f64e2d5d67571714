# The main job's build tree (preset linux-release, configured into BINARY) must hold no test, benchmark or
# fuzz target: the main job builds everything of it, and users wait for what it builds.
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} --preset linux-release -B ${BINARY}
                RESULT_VARIABLE configured OUTPUT_QUIET ERROR_VARIABLE configure_errors)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "linux-release does not configure:\n${configure_errors}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} --target help OUTPUT_VARIABLE targets RESULT_VARIABLE listed)
if(NOT listed EQUAL 0 OR NOT targets MATCHES "VR58G_x64")
  message(FATAL_ERROR "cannot list the targets of ${BINARY}:\n${targets}")
endif()
string(REGEX MATCHALL "[A-Za-z0-9_]*(_tests|_bench|fuzz_|_fixture_|_wine_|gtest|gmock|benchmark)[A-Za-z0-9_]*" found "${targets}")
if(found)
  list(REMOVE_DUPLICATES found)
  message(FATAL_ERROR "the main job's build tree holds test targets: ${found}")
endif()
