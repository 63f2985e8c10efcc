# The real Windows program, its Wine tests and the end-to-end driver.
add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 STRICT)
# One file that runs on a bare Windows machine: no runtime DLLs beside it.
if(MINGW)
  set(static_runtime -static -static-libgcc -static-libstdc++)
else()
  set(static_runtime)
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
endif()
set(win32_libraries comctl32 comdlg32 shell32 ole32 advapi32 user32 gdi32 kernel32)
set(resource_file ${CMAKE_SOURCE_DIR}/res/vorlix.rc)

set(entry_point ${CMAKE_SOURCE_DIR}/app/main_win.cpp)
set(core_sources ${VORLIX_PORTABLE_SOURCES} ${VORLIX_WIN32_SOURCES})
list(REMOVE_ITEM core_sources ${entry_point})
add_library(vorlix_core STATIC ${core_sources})
target_include_directories(vorlix_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vorlix_core PUBLIC ${win32_libraries})

# The tests may drive a program built elsewhere: the one we ship comes from a
# build tree of its own (see cmake/mingw-common.cmake on thread models).
set(VORLIX_PROGRAM "" CACHE FILEPATH "vorlix.exe for the end-to-end tests; empty: build it here")
if(NOT VORLIX_PROGRAM)
  add_executable(vorlix WIN32 ${entry_point} ${resource_file})
  target_link_libraries(vorlix PRIVATE vorlix_core)
  target_link_options(vorlix PRIVATE ${static_runtime})
endif()

option(VORLIX_TESTS "Build the tests and benchmarks" ON)
if(NOT VORLIX_TESTS)
  return()
endif()

# Benchmarks (bench/*_bench.cpp), each a program of its own; run by bench/run.sh.
file(GLOB bench_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
foreach(bench_source IN LISTS bench_sources)
  get_filename_component(bench_name ${bench_source} NAME_WE)
  add_executable(vorlix_${bench_name} ${bench_source} ${resource_file})
  target_link_libraries(vorlix_${bench_name} PRIVATE vorlix_core)
  target_link_options(vorlix_${bench_name} PRIVATE ${static_runtime})
endforeach()

# The tests need GoogleTest's sources (Debian: /usr/src/googletest); without
# them only the program is built.
set(VORLIX_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source folder")
if(NOT EXISTS ${VORLIX_GTEST_SOURCE}/CMakeLists.txt)
  message(STATUS "No GoogleTest sources at ${VORLIX_GTEST_SOURCE}: building the program only")
  return()
endif()
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${VORLIX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Under Wine the Unix root is drive Z:, and a path without a drive would be
# taken as one on the current drive.
if(CMAKE_CROSSCOMPILING)
  set(results_dir Z:${CMAKE_BINARY_DIR}/results)
else()
  set(results_dir ${CMAKE_BINARY_DIR}/results)
endif()

file(GLOB win_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(vorlix_win_tests ${win_tests} ${resource_file})
target_link_libraries(vorlix_win_tests PRIVATE vorlix_core gtest)
target_link_options(vorlix_win_tests PRIVATE ${static_runtime})
add_test(NAME win_tests COMMAND vorlix_win_tests --gtest_output=xml:${results_dir}/win.xml)

file(GLOB e2e_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(e2e_sources)
  # The file helpers it shares with the Wine tests (they use no part of the program).
  add_executable(vorlix_e2e ${e2e_sources} ${CMAKE_SOURCE_DIR}/tests/win/file_support.cpp)
  target_include_directories(vorlix_e2e PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(vorlix_e2e PRIVATE gtest gtest_main ${win32_libraries})
  target_link_options(vorlix_e2e PRIVATE ${static_runtime})
  if(VORLIX_PROGRAM)
    set(program_under_test ${VORLIX_PROGRAM})
  else()
    add_dependencies(vorlix_e2e vorlix)
    set(program_under_test $<TARGET_FILE:vorlix>)
  endif()
  add_test(NAME e2e_tests COMMAND vorlix_e2e --gtest_output=xml:${results_dir}/e2e.xml)
  # The reports the real program writes of real bundles land in real-reports, where the
  # next test reads each form as its reader would.
  set_tests_properties(e2e_tests PROPERTIES ENVIRONMENT
                       "VORLIX_EXE=${program_under_test};VORLIX_REAL_REPORTS=${results_dir}/real-reports")
  add_test(NAME real_report_forms
           COMMAND ${VORLIX_SYSTEM_PYTHON} ${CMAKE_SOURCE_DIR}/tests/scripts/report_formats_test.py
                   --real ${CMAKE_BINARY_DIR}/results/real-reports ${CMAKE_BINARY_DIR}/results)
  set_tests_properties(real_report_forms PROPERTIES DEPENDS e2e_tests)
endif()

# Test fixtures that need build rules of their own (for example plug-in DLLs).
include(${CMAKE_SOURCE_DIR}/tests/win/fixtures/fixtures.cmake OPTIONAL)

# Runs of the Wine tests under other Windows versions and in a 64-bit prefix.
include(${CMAKE_SOURCE_DIR}/tests/matrix/matrix.cmake OPTIONAL)
