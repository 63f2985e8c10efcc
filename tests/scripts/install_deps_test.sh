#!/usr/bin/env bash
# The install step against a package mirror caught mid-sync, with stand-ins for
# the package tools on PATH. Each case writes RESULTS/install-deps-CASE.check
# ("ok" or what went wrong); the exit code says whether all held.
# Usage: install_deps_test.sh RESULTS_FOLDER
set -uo pipefail
script=$(cd "$(dirname "$0")/../.." && pwd)/scripts/install-deps.sh
results=${1:?results folder}
mkdir -p "$results"
sandbox=$(mktemp -d)
trap '[ -n "${KEEP_SANDBOX:-}" ] || rm -rf "$sandbox"' EXIT
all_ok=0

# The stand-ins read the case from files in $STATE:
#   update-fails-N   apt-get update names the i386 security index as failed N times
#   install-needs-no-security   an install that still lists that source fails
#   install-fails    every install fails
make_tools() {
    local bin=$1
    mkdir -p "$bin"
    cat >"$bin/dpkg-query" <<'EOF'
#!/bin/sh
exit 1
EOF
    cat >"$bin/dpkg" <<'EOF'
#!/bin/sh
[ "$1" = --print-foreign-architectures ] && echo i386
exit 0
EOF
    cat >"$bin/id" <<'EOF'
#!/bin/sh
echo 0
EOF
    cat >"$bin/sleep" <<'EOF'
#!/bin/sh
exit 0
EOF
    cat >"$bin/apt-config" <<'EOF'
#!/bin/sh
echo "source_list='$STATE/etc/sources.list'"
echo "source_parts='$STATE/etc/sources.list.d/'"
EOF
    cat >"$bin/apt-get" <<'EOF'
#!/bin/bash
for argument in "$@"; do
    if [ "$argument" = update ]; then
        echo update >>"$STATE/calls"
        left=$(cat "$STATE/update-fails" 2>/dev/null || echo 0)
        if [ "$left" -gt 0 ]; then
            echo $((left - 1)) >"$STATE/update-fails"
            echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]"
            echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
            exit 100
        fi
        exit 0
    fi
done
parts=$STATE/etc/sources.list.d
for argument in "$@"; do
    case $argument in Dir::Etc::sourceparts=*) parts=${argument#*=} ;; esac
done
echo "install $*" >>"$STATE/calls"
[ -f "$STATE/install-fails" ] && { echo "E: Unable to correct problems, you have held broken packages."; exit 100; }
if [ -f "$STATE/install-needs-no-security" ] && grep -qs 'bookworm-security' "$parts"/*; then
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100
fi
cp -r "$parts" "$STATE/used-parts"
exit 0
EOF
    chmod +x "$bin"/*
}

# run_case NAME EXPECTED_EXIT SETUP... : runs the script in a fresh state.
run_case() {
    local name=$1 expected=$2
    shift 2
    local state="$sandbox/$name"
    mkdir -p "$state/etc/sources.list.d"
    cp "$(dirname "$0")/install_deps_sources.txt" "$state/etc/sources.list.d/debian.sources"
    : >"$state/etc/sources.list"
    for setup in "$@"; do
        case $setup in
            update-fails-*) echo "${setup#update-fails-}" >"$state/update-fails" ;;
            *) : >"$state/$setup" ;;
        esac
    done
    STATE=$state PATH="$sandbox/bin:$PATH" VORLIX_APT_UPDATE_PAUSE=0 bash "$script" \
        >"$state/out" 2>&1
    echo $? >"$state/exit"
    [ "$(cat "$state/exit")" = "$expected" ] || fail "$name" "exit $(cat "$state/exit"), expected $expected"
}

failures=""
fail() { failures="$failures$1: $2"$'\n'; }

check() {
    local name=$1
    local own
    own=$(printf '%s' "$failures" | grep "^$name: " || true)
    if [ -z "$own" ]; then
        echo ok >"$results/install-deps-$name.check"
    else
        printf '%s\n' "$own" >"$results/install-deps-$name.check"
        printf '%s\n' "$own" >&2
        echo "--- output of $name:" >&2
        cat "$sandbox/$name/out" >&2
        all_ok=1
    fi
}

make_tools "$sandbox/bin"

# The index fails once, then arrives: one retry, one install, no words of failure.
run_case retried 0 update-fails-1
[ "$(grep -c '^update' "$sandbox/retried/calls")" = 2 ] || fail retried "update not tried again"
grep -q 'trying again' "$sandbox/retried/out" || fail retried "the retry was not said"
check retried

# The index never arrives, and the i386 packages resolve only without that source:
# three updates, then an install without it that leaves the machine's sources alone.
run_case without-source 0 update-fails-9 install-needs-no-security
[ "$(grep -c '^update' "$sandbox/without-source/calls")" = 3 ] || fail without-source "update not tried 3 times"
grep -q 'bookworm-security' "$sandbox/without-source/used-parts/debian.sources" &&
    fail without-source "the failing suite was still given to the install"
grep -q '^Suites: bookworm bookworm-updates$' "$sandbox/without-source/used-parts/debian.sources" ||
    fail without-source "the other suites were lost"
grep -q 'bookworm-security' "$sandbox/without-source/etc/sources.list.d/debian.sources" ||
    fail without-source "the machine's own sources were changed"
grep -q 'for this run only' "$sandbox/without-source/out" || fail without-source "the leaving out was not said"
check without-source

# Nothing helps: the last words are the project's paragraph, naming the mirror.
run_case mirror-broken 1 update-fails-9 install-fails
last=$(tail -n 8 "$sandbox/mirror-broken/out")
grep -q '^E:' <<<"$(tail -n 1 "$sandbox/mirror-broken/out")" && fail mirror-broken "the package tool had the last word"
grep -q 'not a fault' <<<"$last" || fail mirror-broken "no word that it is not the project's fault"
grep -q 'debian-security bookworm-security' <<<"$last" || fail mirror-broken "the failing source is not named"
grep -q 'again later' <<<"$last" || fail mirror-broken "no word on what to do"
check mirror-broken

# An index that arrives and packages that still fail: not blamed on the mirror's index.
run_case install-broken 1 install-fails
grep -q 'could not be downloaded' "$sandbox/install-broken/out" && fail install-broken "blamed an index that arrived"
grep -q 'could not be installed' "$sandbox/install-broken/out" || fail install-broken "no paragraph of its own"
check install-broken

exit $all_ok
