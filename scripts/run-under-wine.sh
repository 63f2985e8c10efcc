#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the private prefix.
# As root it runs as the unprivileged user vorlix-test: Wine started by root
# ignores read-only attributes (root may write any file), so the program
# would not meet a read-only log as a Windows user does.
if [ "$(id -u)" = 0 ] && id vorlix-test >/dev/null 2>&1; then
    exec runuser -u vorlix-test -- wine "$@"
fi
exec wine "$@"
