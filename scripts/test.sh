#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the host
# tests natively (with sanitizers), the import check of the program we ship,
# the Windows tests and the end-to-end tests under Wine, and a short run of
# each fuzz target. On a machine that cannot run 32-bit programs the Windows
# side is the 64-bit build (see mode.sh).
# Ends with two lines: the mode, then "N passed, N failed, N skipped".
# VORLIX_TEST_PARTS limits the run (default "host imports wine fuzz");
# VORLIX_SKIP_FUZZ=1 leaves the fuzz targets out.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
test_parts=" ${VORLIX_TEST_PARTS:-host imports wine fuzz} "
[ "${VORLIX_SKIP_FUZZ:-}" = 1 ] && test_parts=${test_parts/ fuzz / }
runs() { [[ "$test_parts" == *" $1 "* ]]; }

"$root/scripts/install-deps.sh" || exit 1
source "$root/scripts/mode.sh"
mode_line="Mode: $VORLIX_WINE_ARCH (the $vorlix_bits-bit Vorlix under $wine_loader)"
build_parts=win
runs host && build_parts=all
if ! "$root/scripts/build.sh" "$build_parts"; then
    echo "build failed"
    echo "$mode_line"
    echo "0 passed, 1 failed, 0 skipped"
    exit 1
fi

crashed=0
results=()
if runs host; then
    rm -rf "$root/build/host/results"
    (cd "$root/build/host" && ctest --output-on-failure) || crashed=1
    results+=("$root/build/host/results")
fi

if runs imports; then
    checks="$root/build/checks/results"
    rm -rf "$checks" && mkdir -p "$checks"
    # The shipped program must start on Windows XP; the checker itself must
    # reject a program that imports a later function.
    if "$root/scripts/check-xp-imports.sh" "$shipped_build/vorlix.exe"; then
        echo ok >"$checks/shipped-program-imports.check"
    else
        echo failed >"$checks/shipped-program-imports.check"
    fi
    if "$root/scripts/check-xp-imports.sh" "$win_build/fixtures/imports_after_xp.exe" >/dev/null; then
        echo "check-xp-imports.sh accepted a program that imports GetTickCount64"
        echo failed >"$checks/import-check-rejects.check"
    else
        echo ok >"$checks/import-check-rejects.check"
    fi
    results+=("$checks")
fi

if runs wine; then
    unset DISPLAY
    source "$root/scripts/wine-env.sh"
    rm -rf "$win_build/results"
    # The Windows tests run as the Wine user and write their reports here.
    mkdir -p "$win_build/results" && chmod 777 "$win_build/results"
    (cd "$win_build" && ctest --output-on-failure --timeout 1200) || crashed=1
    results+=("$win_build/results")
fi

if runs fuzz; then
    "$root/scripts/fuzz.sh" "${VORLIX_FUZZ_SECONDS:-10}" || crashed=1
    results+=("$root/build/fuzz/results")
fi

echo "$mode_line"
python3 "$root/scripts/summarize_results.py" --runner-failed "$crashed" "${results[@]}"
