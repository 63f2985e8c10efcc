#!/usr/bin/env bash
# Builds the portable logic natively (with sanitizers) and the Windows program
# with its tests (mingw-w64). Usage: scripts/build.sh [host|win|all]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
what=${1:-all}
jobs=${JOBS:-2}

if [ "$what" = host ] || [ "$what" = all ]; then
    cmake -S "$root" -B "$root/build/host" -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build "$root/build/host" -j "$jobs"
fi
if [ "$what" = win ] || [ "$what" = all ]; then
    cmake -S "$root" -B "$root/build/win" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
    cmake --build "$root/build/win" -j "$jobs"
fi
