# Cross build of the 64-bit Windows program, for machines that cannot run
# 32-bit programs: there Wine runs only the 64-bit build.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VORLIX_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
