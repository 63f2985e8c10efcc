#!/usr/bin/env bash
# Compares generated service logs in the real dialog under Wine and prints the
# figures next to baselines measured in the same run: the straightforward
# byte-by-byte reader and row-by-row pairing, and sort + join over the same
# files. Usage: bench/run.sh [records ...]   (default: 1000 10000 100000)
# With VORLIX_BENCH_BEFORE set to the vorlix_compare_bench.exe of an earlier
# build, that one is run on each size too, in the same run, for a before/after.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sizes=("${@:-1000}")
[ $# -eq 0 ] && sizes=(1000 10000 100000)

source "$root/scripts/mode.sh"
"$root/scripts/build.sh" win >/dev/null
unset DISPLAY
source "$root/scripts/wine-env.sh"
trap stop_wine_env EXIT

echo "Compare of two service logs, every record paired, and a header click that"
echo "reverses the view (seconds; 1-byte read and scan pairing beyond 10,000/5,000"
echo "records are scaled from those sizes), each size followed by sort + join over"
echo "the same two logs:"
drive_c="$WINEPREFIX/drive_c"
# Output goes through a file: Wine's own processes, started by the first
# program, would hold a pipe open and stall its reader.
out=$(mktemp)
chmod 666 "$out"
header=1
for size in "${sizes[@]}"; do
    if [ -n "${VORLIX_BENCH_BEFORE:-}" ]; then
        as_wine_user "$wine_loader" "$VORLIX_BENCH_BEFORE" "$size" >"$out"
        tail -n +"$header" "$out" | sed '$s/$/   (before)/'
        header=2
    fi
    as_wine_user "$wine_loader" "$win_build/vorlix_compare_bench.exe" "$size" >"$out"
    tail -n +"$header" "$out"
    header=2
    start=$(date +%s.%N)
    cut -c91-150 "$drive_c/vorlix_bench_1.logServices" | tail -n +2 | sort >/tmp/vorlix_bench_a
    cut -c91-150 "$drive_c/vorlix_bench_2.logServices" | tail -n +2 | sort >/tmp/vorlix_bench_b
    paired=$(join /tmp/vorlix_bench_a /tmp/vorlix_bench_b | wc -l)
    end=$(date +%s.%N)
    echo "  sort + join of the same logs ($size records, $paired paired): $(awk "BEGIN { printf \"%.3f\", $end - $start }") s"
done
rm -f "$out" /tmp/vorlix_bench_a /tmp/vorlix_bench_b "$drive_c"/vorlix_bench_*.logServices

echo
as_wine_user "$wine_loader" "$win_build/vorlix_analysis_bench.exe" 500 1000

echo
out=$(mktemp)
chmod 666 "$out"
as_wine_user "$wine_loader" "$win_build/vorlix_dependency_bench.exe" 60 5000 >"$out"
cat "$out"
echo
as_wine_user "$wine_loader" "$win_build/vorlix_diagnosis_bench.exe" 200 >"$out"
cat "$out"

# The matrix of 100 bundles beside cat of the files it reads (the diagnosis logs it reads
# not), best of five each (the machine is shared; a slow second now and then would hide
# the figure); the goals: 3x cat, 2 s, a peak heap of 5x the files.
echo
as_wine_user "$wine_loader" "$win_build/vorlix_matrix_bench.exe" 100 5 >"$out"
grep -v '^figures ' "$out"
read -r seconds bytes peak < <(sed -n 's/^figures //p' "$out")
cat_best=
for _ in 1 2 3 4 5; do
    start=$(date +%s.%N)
    find "$drive_c/vorlix_bench_bundles" -type f ! -name '*.logDiagnosis' -print0 | xargs -0 cat >/dev/null
    end=$(date +%s.%N)
    cat_best=$(awk -v t="$(awk "BEGIN { print $end - $start }")" -v b="${cat_best:-1e9}" 'BEGIN { print (t < b ? t : b) }')
done
awk -v s="$seconds" -v c="$cat_best" -v b="$bytes" -v p="$peak" 'BEGIN {
    printf "  cat of the same files: %.3f s   ratio %.1fx (goal 3x)   %.3f s (goal 2 s)   peak heap %.2fx the files (goal 5x)\n", c, s / c, s, p / b }'
rm -rf "$out" "$drive_c/vorlix_bench_bundle" "$drive_c/vorlix_bench_bundles"
