#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the host
# tests natively and the Windows tests and end-to-end tests under Wine.
# Ends with one line: "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh" || exit 1
"$root/scripts/build.sh" all || { echo "0 passed, 1 failed"; exit 1; }

source "$root/scripts/wine-env.sh"
trap stop_wine_env EXIT

rm -rf "$root/build/host/results" "$root/build/win/results"
# The Windows tests run as the Wine user and write their reports here.
mkdir -p "$root/build/win/results" && chmod 777 "$root/build/win/results"
status=0
(cd "$root/build/host" && ctest --output-on-failure) || status=1
(cd "$root/build/win" && ctest --output-on-failure --timeout 900) || status=1

if [ -d "$root/tests/fuzz" ] && [ "${VORLIX_SKIP_FUZZ:-}" != 1 ]; then
    "$root/scripts/fuzz.sh" "${VORLIX_FUZZ_SECONDS:-10}" || status=1
fi

python3 "$root/scripts/summarize_results.py" "$root/build/host/results" "$root/build/win/results" \
    "$root/build/fuzz/results" || status=1
exit $status
