#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the private prefix, with
# the Wine loader of the mode (see mode.sh).
# As root it runs as the unprivileged user vorlix-test: Wine started by root
# ignores read-only attributes (root may write any file), so the program
# would not meet a read-only log as a Windows user does.
# The output goes through a file: Wine processes that the program starts
# (services, the desktop) inherit its handles and would keep a pipe open
# long after the program has ended.
source "$(dirname "${BASH_SOURCE[0]}")/mode.sh"
output=$(mktemp)
chmod 666 "$output"
if [ "$(id -u)" = 0 ] && id vorlix-test >/dev/null 2>&1; then
    runuser -u vorlix-test -- "$wine_loader" "$@" >"$output" 2>&1
else
    "$wine_loader" "$@" >"$output" 2>&1
fi
status=$?
cat "$output"
rm -f "$output"
exit $status
