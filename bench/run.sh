#!/usr/bin/env bash
# Compares generated service logs in the real dialog under Wine and prints the
# figures next to baselines measured in the same run: the straightforward
# byte-by-byte reader and row-by-row pairing, and sort + join over the same
# files. Usage: bench/run.sh [records ...]   (default: 1000 10000 100000)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sizes=("${@:-1000}")
[ $# -eq 0 ] && sizes=(1000 10000 100000)

source "$root/scripts/mode.sh"
"$root/scripts/build.sh" win >/dev/null
unset DISPLAY
source "$root/scripts/wine-env.sh"
trap stop_wine_env EXIT

echo "Compare of two service logs, every record paired (seconds; 1-byte read and"
echo "scan pairing beyond 10,000/5,000 records are scaled from those sizes):"
as_wine_user "$wine_loader" "$win_build/vorlix_compare_bench.exe" "${sizes[@]}"

echo
as_wine_user "$wine_loader" "$win_build/vorlix_analysis_bench.exe" 500 1000

drive_c="$WINEPREFIX/drive_c"
last=${sizes[-1]}
start=$(date +%s.%N)
cut -c91-150 "$drive_c/vorlix_bench_1.logServices" | tail -n +2 | sort >/tmp/vorlix_bench_a
cut -c91-150 "$drive_c/vorlix_bench_2.logServices" | tail -n +2 | sort >/tmp/vorlix_bench_b
paired=$(join /tmp/vorlix_bench_a /tmp/vorlix_bench_b | wc -l)
end=$(date +%s.%N)
echo "sort + join of the same logs ($last records, $paired paired): $(awk "BEGIN { printf \"%.3f\", $end - $start }") s"
rm -f /tmp/vorlix_bench_a /tmp/vorlix_bench_b "$drive_c"/vorlix_bench_*.logServices
