# vr58_add_test(<target> LABEL <label> SOURCES <files...> [LIBRARIES <libs...>] [DISPLAY] [FIXTURE <name>])
# One GoogleTest program; natively its cases are discovered one by one, when cross-built for Windows the
# program runs as one ctest test under Wine (discovery under Wine would start Wine at build time).
# DISPLAY runs it inside a virtual X display (xvfb-run), for tests that open real windows. A native DISPLAY
# program is one ctest test, so one X server (24-bit colour, not reset when its last client leaves, which
# would refuse the next test's connection) serves all of its cases. FIXTURE names a ctest fixture that must
# be set up before the program's cases run.
function(vr58_add_test target)
  cmake_parse_arguments(T "DISPLAY" "LABEL;TIMEOUT;FIXTURE" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${target} ${T_SOURCES})
  vr58_apply_compile_rules(${target})
  target_link_libraries(${target} PRIVATE ${T_LIBRARIES} GTest::gtest GTest::gtest_main)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  if(CMAKE_CROSSCOMPILING)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    if(T_DISPLAY)
      add_test(NAME ${target} COMMAND xvfb-run -a ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${target}>)
    else()
      add_test(NAME ${target} COMMAND ${target})
    endif()
    set_tests_properties(${target} PROPERTIES LABELS "wine;${T_LABEL}" TIMEOUT ${T_TIMEOUT} FIXTURES_REQUIRED wine_prefix
      ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
  elseif(T_DISPLAY)
    add_test(NAME ${target} COMMAND xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" $<TARGET_FILE:${target}>)
    set_tests_properties(${target} PROPERTIES LABELS "${T_LABEL}" TIMEOUT ${T_TIMEOUT})
  else()
    set(fixture_properties)
    if(T_FIXTURE)
      set(fixture_properties FIXTURES_REQUIRED ${T_FIXTURE})
    endif()
    gtest_discover_tests(${target} PROPERTIES LABELS "${T_LABEL}" TIMEOUT ${T_TIMEOUT} ${fixture_properties}
                         DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
