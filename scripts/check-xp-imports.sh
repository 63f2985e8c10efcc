#!/usr/bin/env bash
# Fails when a Windows program imports a function or DLL that Windows XP SP3
# does not have: the XP loader refuses to start such a program at all.
# The names are listed in imports-after-xp.txt. Usage: check-xp-imports.sh EXE
set -uo pipefail
exe=${1:?usage: check-xp-imports.sh EXE}
list="$(dirname "$0")/imports-after-xp.txt"
if [ ! -f "$exe" ]; then
    echo "check-xp-imports: no file $exe"
    exit 1
fi
if ! table=$(objdump -p "$exe" 2>&1); then
    echo "check-xp-imports: objdump cannot read $exe: $table"
    exit 1
fi
# The XP loader refuses a program that asks for a later subsystem version.
subsystem=$(printf '%s\n' "$table" | awk '/^MajorSubsystemVersion/ { major = $2 }
    /^MinorSubsystemVersion/ { minor = $2 } END { print major "." minor }')
if awk -v version="$subsystem" 'BEGIN { split(version, v, "."); exit !(v[1] > 5 || (v[1] == 5 && v[2] > 1)) }'; then
    echo "$exe asks for subsystem version $subsystem; Windows XP runs 5.1 at most"
    exit 1
fi
# "DLL Name: X" starts a DLL's entries; each entry line is "<vma> <hint> <name>".
imports=$(printf '%s\n' "$table" | awk '
    /^\tDLL Name: / { dll = $3; print "dll:" dll; next }
    /^$/ { dll = "" }
    dll != "" && NF >= 3 && $1 ~ /^[0-9a-f]+$/ { print dll " " $3 }')
if [ -z "$imports" ]; then
    echo "check-xp-imports: no import table found in $exe"
    exit 1
fi

functions=$(grep -v -e '^#' -e '^dll:' -e '^$' "$list" | paste -sd'|')
dlls=$(grep '^dll:' "$list" | sed 's/^dll://' | paste -sd'|')
bad=$(printf '%s\n' "$imports" | awk -v functions="^($functions)\$" -v dlls="^($dlls)\$" '
    /^dll:/ { name = tolower(substr($0, 5)); if (name ~ dlls) print "DLL " substr($0, 5); next }
    $2 ~ functions { print $1 " " $2 }')
if [ -n "$bad" ]; then
    echo "$exe imports what Windows XP does not have:"
    printf '%s\n' "$bad" | sed 's/^/  /'
    exit 1
fi
echo "$exe: every import exists on Windows XP SP3 ($(printf '%s\n' "$imports" | grep -vc '^dll:') functions checked)"
