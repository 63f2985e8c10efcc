#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (ASan and UBSan) and
# runs each for the given number of seconds (default 10). Seeds come from
# tests/fuzz/corpus/<target>/ (and, for the PE reader, the fixture DLLs of the
# Windows builds); new findings are kept in build/fuzz/findings.
# Usage: scripts/fuzz.sh [seconds]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-10}
out="$root/build/fuzz"
mkdir -p "$out/results" "$out/findings"
rm -f "$out/results"/*.fuzz

portable=()
for dir in platform report compare analysis checks; do
    for source in "$root/$dir"/*.cpp; do
        case "$source" in *_win.cpp) ;; *) portable+=("$source") ;; esac
    done
done

status=0
for target in "$root"/tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$target" .cpp)
    binary="$out/$name"
    if ! clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined \
            -fno-sanitize-recover=all -I"$root" "${portable[@]}" "$target" -o "$binary" \
            2>"$out/$name.build.log"; then
        echo "fuzz $name: build failed (see $out/$name.build.log)"
        echo "build failed" >"$out/results/$name.fuzz"
        status=1
        continue
    fi
    corpus="$out/corpus/$name"
    mkdir -p "$corpus"
    seeds=()
    [ -d "$root/tests/fuzz/corpus/$name" ] && seeds+=("$root/tests/fuzz/corpus/$name")
    # The PE reader starts from the fixture DLLs that the Windows builds make (they are
    # built before the fuzz run; without them it starts from nothing).
    if [ "$name" = pe_image_fuzz ]; then
        for dir in "$root/build/win/fixtures" "$root/build/win64/fixtures"; do
            [ -d "$dir" ] && seeds+=("$dir")
        done
    fi
    if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$out/findings/$name-" "$corpus" "${seeds[@]}" \
            >"$out/$name.log" 2>&1; then
        echo "fuzz $name: ok ($(grep -o 'stat::number_of_executed_units: *[0-9]*' "$out/$name.log" | grep -o '[0-9]*$' || echo '?') runs)"
        echo ok >"$out/results/$name.fuzz"
    else
        echo "fuzz $name: FAILED (see $out/$name.log and $out/findings)"
        tail -20 "$out/$name.log"
        echo failed >"$out/results/$name.fuzz"
        status=1
    fi
done
exit $status
