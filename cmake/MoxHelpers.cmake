# mox_add_test(<name> LABEL unit|sim|gui SOURCES ... LIBS ...)
# One GoogleTest executable per library target. Every test case becomes its
# own CTest entry, so the suite runs in parallel. Settings always go to a
# throw-away file so no test touches the user's own.
function(mox_add_test name)
  cmake_parse_arguments(T "" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_LABEL)
    set(T_LABEL unit)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  set_property(GLOBAL APPEND PROPERTY MOX_TEST_PROGRAMS_${T_LABEL} ${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    MOX_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    MOX_BIN_DIR="${MOX_OUT_DIR}")
  # Listing the cases runs the executable at test time; a Qt widgets test
  # needs the offscreen platform already then, so run it through env.
  # The settings file goes the same way: a list in the ENVIRONMENT property
  # below is cut at its first ";" on the way through gtest_discover_tests,
  # which would leave the tests writing the user's own settings.
  set_target_properties(${name} PROPERTIES
    CROSSCOMPILING_EMULATOR "env;QT_QPA_PLATFORM=offscreen;MOX_SETTINGS=${CMAKE_BINARY_DIR}/test-settings/${name}.ini")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES
      LABELS ${T_LABEL}
      TIMEOUT ${T_TIMEOUT}
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;MOX_SETTINGS=${CMAKE_BINARY_DIR}/test-settings/${name}.ini")
endfunction()

# mox_add_fuzzer(<name> SOURCES ... LIBS ...): a libFuzzer target, only in
# fuzzing builds.
function(mox_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT MOX_FUZZ)
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer-no-link)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  set_property(GLOBAL APPEND PROPERTY MOX_FUZZ_TARGETS ${name})
endfunction()

# The project's libraries a target links, directly or through others.
function(_mox_linked_libraries target out)
  set(seen)
  set(todo ${target})
  while(todo)
    list(POP_FRONT todo t)
    get_target_property(libs ${t} LINK_LIBRARIES)
    get_target_property(ilibs ${t} INTERFACE_LINK_LIBRARIES)
    foreach(lib IN LISTS libs ilibs)
      if(NOT TARGET ${lib})
        continue()
      endif()
      get_target_property(aliased ${lib} ALIASED_TARGET)
      if(aliased)
        set(lib ${aliased})
      endif()
      if(lib IN_LIST seen)
        continue()
      endif()
      get_target_property(imported ${lib} IMPORTED)
      get_target_property(type ${lib} TYPE)
      if(imported OR type STREQUAL "INTERFACE_LIBRARY")
        continue()
      endif()
      list(APPEND seen ${lib})
      list(APPEND todo ${lib})
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Gives libFuzzer's coverage instrumentation to every library a fuzz target
# links, and to nothing else. Called once all targets exist.
function(mox_instrument_fuzzed_code)
  get_property(fuzzers GLOBAL PROPERTY MOX_FUZZ_TARGETS)
  set(libs)
  foreach(f IN LISTS fuzzers)
    _mox_linked_libraries(${f} linked)
    list(APPEND libs ${linked})
  endforeach()
  list(REMOVE_DUPLICATES libs)
  foreach(lib IN LISTS libs)
    set_property(TARGET ${lib} APPEND PROPERTY COMPILE_OPTIONS -fsanitize=fuzzer-no-link)
  endforeach()
  list(JOIN libs " " shown)
  message(STATUS "Instrumented for fuzzing: ${shown}")
endfunction()

# mox_add_bench(<name> SOURCES ... LIBS ...): a Google Benchmark executable,
# built everywhere, timed only by hand.
function(mox_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT MOX_BENCH)
    return()
  endif()
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()
