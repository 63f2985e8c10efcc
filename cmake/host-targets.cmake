# Native build of the portable logic and its tests, with sanitizers.
find_package(GTest REQUIRED)
set(sanitizers -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_compile_options(${sanitizers} -g)
add_link_options(${sanitizers})

add_library(vorlix_portable STATIC ${VORLIX_PORTABLE_SOURCES})
target_include_directories(vorlix_portable PUBLIC ${CMAKE_SOURCE_DIR})

file(GLOB host_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*.cpp)
add_executable(vorlix_host_tests ${host_tests})
target_link_libraries(vorlix_host_tests PRIVATE vorlix_portable GTest::gtest GTest::gtest_main)
add_test(NAME host_tests COMMAND vorlix_host_tests --gtest_output=xml:${CMAKE_BINARY_DIR}/results/host.xml)

# The install step against a package mirror caught mid-sync (stand-ins for the package tools).
add_test(NAME install_deps_script
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/install_deps_test.sh ${CMAKE_BINARY_DIR}/results)

# Every report kind in every form, with hostile cells, read back by the tools that read
# them for real: a strict HTML5 parser, a JSON Schema validator, Python's csv module
# (VORLIX_SYSTEM_PYTHON: Debian's own, where python3-html5lib and python3-jsonschema are).
add_executable(vorlix_report_samples ${CMAKE_SOURCE_DIR}/tests/samples/report_samples.cpp)
target_link_libraries(vorlix_report_samples PRIVATE vorlix_portable)
add_test(NAME report_formats
         COMMAND ${VORLIX_SYSTEM_PYTHON} ${CMAKE_SOURCE_DIR}/tests/scripts/report_formats_test.py
                 $<TARGET_FILE:vorlix_report_samples> ${CMAKE_BINARY_DIR}/results)
