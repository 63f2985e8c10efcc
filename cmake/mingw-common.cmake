# Shared part of the mingw-w64 cross toolchains; the including file sets
# VORLIX_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR.
#
# VORLIX_THREAD_MODEL picks the compiler variant:
# - win32 for the program we ship: the posix variant links winpthread, which
#   imports GetTickCount64, and the Windows XP loader refuses such an exe;
# - posix (the default) for the tests: GoogleTest needs std::mutex, which
#   this compiler provides only with the posix thread model.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT VORLIX_THREAD_MODEL)
  set(VORLIX_THREAD_MODEL posix)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VORLIX_THREAD_MODEL)
set(CMAKE_C_COMPILER ${VORLIX_MINGW_TRIPLE}-gcc-${VORLIX_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${VORLIX_MINGW_TRIPLE}-g++-${VORLIX_THREAD_MODEL})
set(CMAKE_RC_COMPILER ${VORLIX_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VORLIX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/run-under-wine.sh)
