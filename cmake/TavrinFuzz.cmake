# tavrin_add_fuzz(<path> SOURCES <files...> LIBS <targets...> [RUNS <n>])
# One libFuzzer target per entry point of outside bytes, in fuzz/<path>/ with its seed
# corpus in fuzz/<path>/corpus/ and, where the format has words worth knowing, a
# dictionary fuzz/<path>/dict. The target is named fuzz_ and the path with _ for /
# (fuzz/platform/net/telnet -> fuzz_platform_net_telnet), as test programs are, so
# `ctest -R platform_net` finds a subsystem's tests and targets by one pattern.
# Its CTest test replays every seed, then runs RUNS more inputs (default 20000) from a fixed
# random seed, so CI stays short and repeatable; scripts/fuzz runs one target for longer.
# What a run finds is written to <build>/fuzz/<name>.findings/.
function(tavrin_add_fuzz path)
  cmake_parse_arguments(F "" "RUNS" "SOURCES;LIBS" ${ARGN})
  if(NOT F_RUNS)
    set(F_RUNS 20000)
  endif()
  string(REPLACE "/" "_" name "fuzz_${path}")
  set(dir ${CMAKE_CURRENT_SOURCE_DIR}/${path})
  list(TRANSFORM F_SOURCES PREPEND ${dir}/)
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE tavrin_common tavrin_fuzz_support ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)

  file(GLOB seeds CONFIGURE_DEPENDS ${dir}/corpus/*)
  if(NOT seeds)
    message(FATAL_ERROR "${name} has no seed corpus in ${dir}/corpus")
  endif()
  list(JOIN seeds "," seed_list)
  set(options -runs=${F_RUNS} -seed=1 -timeout=10 -create_missing_dirs=1
              -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/${name}.findings/)
  if(EXISTS ${dir}/dict)
    list(APPEND options -dict=${dir}/dict)
  endif()
  add_test(NAME ${name} COMMAND ${name} ${options} -seed_inputs=${seed_list})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0"
    TIMEOUT 600)
endfunction()
