#!/usr/bin/env bash
# Runs a Windows program of the build in a 64-bit Wine prefix of the build tree, made once,
# with its own wineserver (the 32-bit prefix of the other tests keeps running).
# Usage: run_in_win64_prefix.sh <build folder> <program> [arguments...]
set -u
build=$1
shift
root=$(cd "$(dirname "$0")/../.." && pwd)

export WINEARCH=win64
export WINEPREFIX="$build/wineprefix64-vorlix-test"
# wine-env.sh starts a virtual display only when there is none; keep the one of the caller.
source "$root/scripts/wine-env.sh"

# Output through a file: Wine processes the program starts would keep a pipe open.
output=$(mktemp)
chmod 666 "$output"
as_wine_user wine "$@" >"$output" 2>&1
status=$?
cat "$output"
rm -f "$output"
stop_wine_env
exit $status
