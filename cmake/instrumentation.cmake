# Builds that instrument the whole program: coverage for the test suite,
# coverage-guided fuzzing for the fuzz targets. Included before any target,
# so the core library is instrumented the same way as what links it.

option(SCENARIO_COVERAGE "Instrument for line and branch coverage (GCC, gcov)" OFF)
option(SCENARIO_BUILD_FUZZ "Build the fuzz targets (Clang with libFuzzer)" OFF)
option(SCENARIO_BUILD_BENCH "Build the benchmarks (Google Benchmark)" OFF)

if(SCENARIO_COVERAGE)
  # No optimisation, so that every source line keeps its own counters.
  add_compile_options(--coverage -O0 -fno-inline)
  add_link_options(--coverage)
endif()

if(SCENARIO_BUILD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The fuzz targets need Clang (configure with the fuzz preset)")
  endif()
  # The core is instrumented for the fuzzer's edge coverage; only the fuzz
  # targets link the fuzzer's own main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                      -fno-sanitize-recover=all -fno-omit-frame-pointer
                      -fsanitize-coverage-ignorelist=${CMAKE_CURRENT_SOURCE_DIR}/fuzz/coverage_ignorelist.txt)
  add_link_options(-fsanitize=address,undefined)
endif()
