# Included before the program's sources when CELLGLYPH_FUZZ is on: every
# library is built with the fuzzer's coverage feedback and with the address
# and undefined-behaviour sanitizers, so a finding anywhere in a run stops
# the fuzzer. libFuzzer comes with clang only. The memory budget's runs
# (preset fuzz-memory) leave AddressSanitizer out: its shadow memory and
# quarantine of freed blocks are not the program's, and would count in.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "CELLGLYPH_FUZZ needs clang (libFuzzer); configure with "
                      "-DCMAKE_CXX_COMPILER=clang++ or use the preset fuzz")
endif()
set(CELLGLYPH_FUZZ_SANITIZERS address,undefined CACHE STRING "Sanitizers of the fuzz build")
set(CELLGLYPH_SANITIZERS -fsanitize=${CELLGLYPH_FUZZ_SANITIZERS} -fno-sanitize-recover=all)
add_compile_options(-fsanitize=fuzzer-no-link ${CELLGLYPH_SANITIZERS} -fno-omit-frame-pointer)
add_link_options(${CELLGLYPH_SANITIZERS})
