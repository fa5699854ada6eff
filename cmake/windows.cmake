# The two programs, their tests and helpers, cross-built for Windows.
enable_language(RC)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Tests run under Wine in a prefix of this tree's own.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(WINE_ARCH win64)
  set(WINE_LOADER /usr/lib/wine/wine64)
  set(WINE_SERVER /usr/lib/wine/wineserver64)
else()
  set(WINE_ARCH win32)
  set(WINE_LOADER /usr/lib/wine/wine)
  set(WINE_SERVER /usr/lib/wine/wineserver32)
endif()
set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(WINE_HOME ${CMAKE_BINARY_DIR}/home)
configure_file(cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1 WIN32_LEAN_AND_MEAN)
add_compile_options(-Wall -Wextra -O2 -ffunction-sections -fdata-sections
  -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.)
# Static runtime: the programs import only DLLs that ship with Windows. No
# time stamp in the PE header, so two builds of one commit are the same bytes.
set(STATIC_FLAGS -static -static-libgcc -static-libstdc++ -s -Wl,--gc-sections -Wl,--no-insert-timestamp)

include_directories(common)
add_executable(setup WIN32
  ${SETUP_TEXT_SOURCES}
  ${COMMON_TEXT_SOURCES}
  common/appendline.cpp
  common/systemdir.cpp
  setup/tarvex.cpp
  setup/winreg.cpp
  setup/commands.cpp
  setup/winshortcuts.cpp
  setup/windirs.cpp
  setup/winresource.cpp
  setup/setup.rc
)
target_link_options(setup PRIVATE ${STATIC_FLAGS})
# ole32 and shell32 are loaded by the commands that use them, not imported.
target_link_libraries(setup PRIVATE uuid advapi32)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(MANIFEST_ARCH amd64)  # the 64-bit test build asks for its own Common Controls
else()
  set(MANIFEST_ARCH X86)
endif()
configure_file(update/update.manifest.in ${CMAKE_BINARY_DIR}/update/update.manifest @ONLY)
configure_file(update/update.ico ${CMAKE_BINARY_DIR}/update/update.ico COPYONLY)
configure_file(update/update.rc ${CMAKE_BINARY_DIR}/update/update.rc COPYONLY)
add_executable(update WIN32
  ${UPDATE_TEXT_SOURCES}
  ${COMMON_TEXT_SOURCES}
  common/appendline.cpp
  common/systemdir.cpp
  update/log.cpp
  update/trace.cpp
  update/findjvm.cpp
  update/getparam.cpp
  update/javaapp.cpp
  ${CMAKE_BINARY_DIR}/update/update.rc
)
target_include_directories(update PRIVATE update)
target_link_options(update PRIVATE ${STATIC_FLAGS})
# user32 is loaded for the error box only, not imported.
target_link_libraries(update PRIVATE advapi32)

# The installers' tool that fills update.exe's configuration slots.
add_executable(update-config tools/update-config.cpp tools/slots.cpp)
target_include_directories(update-config PRIVATE update)
target_link_options(update-config PRIVATE ${STATIC_FLAGS})

# The script checker for installer authors.
add_executable(tarvex-check ${CHECK_SOURCES} ${SETUP_TEXT_SOURCES} ${UPDATE_TEXT_SOURCES} ${COMMON_TEXT_SOURCES})
target_include_directories(tarvex-check PRIVATE setup update tools)
target_link_options(tarvex-check PRIVATE ${STATIC_FLAGS} -mconsole)

# Stand-in for a Java runtime's executable, for the launcher's tests.
add_executable(standin tests/helpers/standin.cpp)
target_link_options(standin PRIVATE ${STATIC_FLAGS})

# Tests: GoogleTest from Debian's source package, built with this compiler.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_executable(setup_tests
  tests/win/harness.cpp
  tests/win/dispatcher_test.cpp
  tests/win/resources_test.cpp
  tests/win/queries_test.cpp
  tests/win/registry_test.cpp
  tests/win/shortcuts_test.cpp
  tests/win/dirs_test.cpp
  tests/win/icon_test.cpp
  tests/win/launcher_test.cpp
  tests/win/append_test.cpp
)
target_include_directories(setup_tests PRIVATE tests/win)
# The examples the tests run are read from the source tree.
target_compile_definitions(setup_tests PRIVATE TARVEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_link_options(setup_tests PRIVATE ${STATIC_FLAGS})
target_link_libraries(setup_tests PRIVATE gtest gtest_main ole32 uuid shell32 advapi32 version)
add_dependencies(setup_tests setup update update-config standin tarvex-check)

# A small disk of the run's own, for writes that fail for want of space.
set(SMALL_DISK ${CMAKE_BINARY_DIR}/small-disk)
add_test(NAME small_disk_mount COMMAND bash ${CMAKE_SOURCE_DIR}/tests/shell/small-disk.sh setup ${SMALL_DISK})
add_test(NAME small_disk_unmount COMMAND bash ${CMAKE_SOURCE_DIR}/tests/shell/small-disk.sh cleanup ${SMALL_DISK})
set_tests_properties(small_disk_mount PROPERTIES FIXTURES_SETUP small_disk)
set_tests_properties(small_disk_unmount PROPERTIES FIXTURES_CLEANUP small_disk)

include(GoogleTest)
# Each test runs as its own process under Wine, so one hang cannot stop the run.
gtest_discover_tests(setup_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 120 FIXTURES_REQUIRED small_disk ENVIRONMENT "TARVEX_SMALL_DISK=${SMALL_DISK}")

add_custom_target(dist_programs DEPENDS setup update update-config tarvex-check)

# The benchmark's floor programs and its timer (bash bench/run.sh).
add_custom_target(bench_programs)
foreach(program benchrun noop floor_query floor_registry floor_links floor_launch)
  add_executable(bench_${program} EXCLUDE_FROM_ALL bench/floors/${program}.cpp)
  target_link_options(bench_${program} PRIVATE ${STATIC_FLAGS})
  add_dependencies(bench_programs bench_${program})
endforeach()
target_link_libraries(bench_floor_links PRIVATE ole32 uuid)
target_link_options(bench_benchrun PRIVATE -mconsole)
