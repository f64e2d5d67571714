# Arithmetic must equal the formulas bit for bit on every build: no contraction into FMA, no fast-math,
# baseline x86-64 (no -march), and SSE2 scalar maths on both platforms.
function(vr58_apply_compile_rules target)
  target_compile_options(${target} PRIVATE -ffp-contract=off -fno-fast-math -Wall -Wextra)
endfunction()
