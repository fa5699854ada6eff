# The Windows-free logic built with the host compiler, under AddressSanitizer
# and UndefinedBehaviorSanitizer, and as libFuzzer targets when the compiler is clang.
set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra -g -O1)

add_library(text_logic STATIC ${SETUP_TEXT_SOURCES} ${UPDATE_TEXT_SOURCES} ${COMMON_TEXT_SOURCES})
target_include_directories(text_logic PUBLIC setup update common)
target_compile_options(text_logic PRIVATE ${SANITIZE})

add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
add_executable(text_tests
  tests/native/strutil_test.cpp
  tests/native/querytext_test.cpp
  tests/native/regtext_test.cpp
  tests/native/shortcuttext_test.cpp
  tests/native/launchtext_test.cpp
  tests/native/slots_test.cpp
  tests/native/commandtext_test.cpp
  tests/native/checktext_test.cpp
  tools/checktext.cpp
  tools/slots.cpp
)
target_compile_options(text_tests PRIVATE ${SANITIZE})
target_link_options(text_tests PRIVATE ${SANITIZE})
target_include_directories(text_tests PRIVATE tools)
target_link_libraries(text_tests PRIVATE text_logic gtest gtest_main)
include(GoogleTest)
gtest_discover_tests(text_tests)

# Every fuzz target runs briefly with the tests so none of them rots, with
# its committed seed corpus and dictionary; scripts/fuzz.sh runs them longer
# and reports coverage. Built like the unit tests: undefined behaviour stops
# the run. Each row: target, corpus and dictionary name, longest input.
set(FUZZ_SECONDS 5 CACHE STRING "seconds each fuzz target runs in the test suite")
option(FUZZ_COVERAGE "build the fuzz targets with source-based coverage" OFF)
set(FUZZ_TARGETS
  "fuzz_querytext querytext 4096"
  "fuzz_regscript regscript 24000"
  "fuzz_shortcuts shortcuts 24000"
  "fuzz_launcher launcher 12000"
  "fuzz_launchcommand launchcommand 6000"
  "fuzz_commandline commandline 32000"
)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  foreach(row ${FUZZ_TARGETS})
    separate_arguments(row)
    list(GET row 0 target)
    list(GET row 1 name)
    list(GET row 2 max_len)
    add_executable(${target} tests/fuzz/${target}.cpp ${SETUP_TEXT_SOURCES} ${UPDATE_TEXT_SOURCES}
      ${COMMON_TEXT_SOURCES})
    target_include_directories(${target} PRIVATE setup update common)
    set(fuzz_flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -g -O1)
    if(FUZZ_COVERAGE)
      list(APPEND fuzz_flags -fprofile-instr-generate -fcoverage-mapping)
    endif()
    target_compile_options(${target} PRIVATE ${fuzz_flags})
    target_link_options(${target} PRIVATE ${fuzz_flags})
    set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
    file(MAKE_DIRECTORY ${corpus})
    # New inputs go to the build tree's corpus; the committed seeds are read.
    add_test(NAME ${target} COMMAND ${target} -max_total_time=${FUZZ_SECONDS} -rss_limit_mb=2048
      -max_len=${max_len} -dict=${CMAKE_SOURCE_DIR}/tests/fuzz/dict/${name}.dict
      -artifact_prefix=${CMAKE_BINARY_DIR}/ ${corpus} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
  endforeach()
endif()

# The script checker for installer authors, for this machine.
add_executable(tarvex-check ${CHECK_SOURCES} ${SETUP_TEXT_SOURCES} ${UPDATE_TEXT_SOURCES} ${COMMON_TEXT_SOURCES})
target_include_directories(tarvex-check PRIVATE setup update common tools)

# The reference quotes its examples as they are.
add_test(NAME docs_examples COMMAND bash ${CMAKE_SOURCE_DIR}/tests/shell/docs_examples_test.sh)

# Its report on every example is the one committed beside it.
add_test(NAME checker_examples
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/shell/checker_examples_test.sh $<TARGET_FILE:tarvex-check>)

# The installers' slot tool, for this machine too.
add_executable(update-config tools/update-config.cpp tools/slots.cpp)
target_include_directories(update-config PRIVATE update)

# The launcher's icon is drawn by a program; the committed file must be what
# it draws.
add_executable(make-icon tools/make-icon.cpp)
add_test(NAME icon_is_reproducible
  COMMAND sh -c "$<TARGET_FILE:make-icon> icon-check.ico && cmp icon-check.ico ${CMAKE_SOURCE_DIR}/update/update.ico")

# The Wine session's decisions, on both answers of the 32-bit probe.
add_test(NAME wine_choice COMMAND bash ${CMAKE_SOURCE_DIR}/tests/shell/wine_choice_test.sh)

# Checks on the built Windows programs (path given by the test script).
if(DIST_DIR)
  foreach(program setup update)
    add_test(NAME pe_check_${program}
      COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-pe.sh ${DIST_DIR}/${program}.exe)
  endforeach()
  add_test(NAME dist_resources COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-dist-resources.sh ${DIST_DIR})
endif()
