# Arithmetic must equal the formulas bit for bit on every build: no contraction into FMA, no fast-math,
# baseline x86-64 (no -march), and SSE2 scalar maths on both platforms.
option(VR58_SANITIZE "Build with AddressSanitizer and UBSan (native unit tests; not the plug-in libraries)" OFF)
option(VR58_SANITIZE_THREADS "Build with ThreadSanitizer (native; the threaded tests and plug-ins under them)" OFF)
option(VR58_FUZZ "Build with clang's coverage for libFuzzer, AddressSanitizer and UBSan, and the fuzz targets" OFF)

function(vr58_apply_compile_rules target)
  target_compile_options(${target} PRIVATE -ffp-contract=off -fno-fast-math -Wall -Wextra)
  if(VR58_SANITIZE AND NOT CMAKE_CROSSCOMPILING)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all
                                             -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
  if(VR58_SANITIZE_THREADS AND NOT CMAKE_CROSSCOMPILING)
    target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=thread)
  endif()
  if(VR58_FUZZ AND NOT CMAKE_CROSSCOMPILING)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                                             -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()
