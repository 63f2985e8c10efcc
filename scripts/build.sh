#!/usr/bin/env bash
# Builds the portable logic natively (with sanitizers) and the Windows side
# with mingw-w64: the program we ship (win32 thread model, no tests) and the
# tree of the Wine tests, end-to-end tests and benchmarks, which drive that
# program. Usage: scripts/build.sh [host|win|all]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
what=${1:-all}
jobs=${JOBS:-2}
source "$root/scripts/mode.sh"

configure_and_build() {
    local folder=$1
    shift
    cmake -S "$root" -B "$folder" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    cmake --build "$folder" -j "$jobs"
}

if [ "$what" = host ] || [ "$what" = all ]; then
    cmake -S "$root" -B "$root/build/host" -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build "$root/build/host" -j "$jobs"
fi
if [ "$what" = win ] || [ "$what" = all ]; then
    if [ "$program_build" != "$shipped_build" ]; then
        configure_and_build "$shipped_build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
            -DVORLIX_THREAD_MODEL=win32 -DVORLIX_TESTS=OFF
    fi
    configure_and_build "$program_build" -DCMAKE_TOOLCHAIN_FILE="$win_toolchain" \
        -DVORLIX_THREAD_MODEL=win32 -DVORLIX_TESTS=OFF
    configure_and_build "$win_build" -DCMAKE_TOOLCHAIN_FILE="$win_toolchain" \
        -DVORLIX_THREAD_MODEL=posix -DVORLIX_PROGRAM="$program_build/vorlix.exe"
fi
