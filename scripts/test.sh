#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the host
# tests natively (with sanitizers), the Windows tests and the end-to-end tests
# under Wine, and a short run of each fuzz target.
# Ends with one line: "N passed, N failed, N skipped".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh" || exit 1
if ! "$root/scripts/build.sh" all; then
    echo "build failed"
    echo "0 passed, 1 failed, 0 skipped"
    exit 1
fi

unset DISPLAY
source "$root/scripts/wine-env.sh"
trap stop_wine_env EXIT

rm -rf "$root/build/host/results" "$root/build/win/results"
# The Windows tests run as the Wine user and write their reports here.
mkdir -p "$root/build/win/results" && chmod 777 "$root/build/win/results"
crashed=0
(cd "$root/build/host" && ctest --output-on-failure) || crashed=1
(cd "$root/build/win" && ctest --output-on-failure --timeout 1200) || crashed=1

if [ "${VORLIX_SKIP_FUZZ:-}" != 1 ]; then
    "$root/scripts/fuzz.sh" "${VORLIX_FUZZ_SECONDS:-10}" || crashed=1
fi

python3 "$root/scripts/summarize_results.py" --runner-failed "$crashed" \
    "$root/build/host/results" "$root/build/win/results" "$root/build/fuzz/results"
