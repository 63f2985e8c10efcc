# The Wine tests that depend on the kind of system, run again in a 64-bit prefix: the
# architecture rows, the "Program Files (x86)" paths and the Windows version runs. The
# 32-bit prefix runs them with all the other tests (win_tests).
# A 64-bit build runs every Wine test in a 64-bit prefix already.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  return()
endif()
add_test(NAME win64_tests
         COMMAND ${CMAKE_SOURCE_DIR}/tests/matrix/run_in_win64_prefix.sh
                 ${CMAKE_BINARY_DIR} $<TARGET_FILE:vorlix_win_tests>
                 --gtest_filter=PrefixArchitecture.*:VersionMatrix.*
                 --gtest_output=xml:${results_dir}/win64.xml)
