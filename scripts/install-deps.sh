#!/usr/bin/env bash
# Installs what building and testing Vorlix needs on Debian, and nothing that
# is already there. Needs root.
#
# A Debian mirror caught in the middle of a sync serves one architecture's
# index with the wrong size: "apt-get update" fails for it, and the i386
# packages (wine32:i386) then no longer match the amd64 ones. So the update
# is tried a few times with a pause, the install goes on with the indexes
# that did arrive, and when that still fails the install is tried once more
# with the failing source left out for that one run (the machine's own
# sources stay as they are). When nothing helps, the last words are ours:
# what failed, whose fault it is and what to do.
set -uo pipefail

packages=(cmake g++ googletest libgtest-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
          wine wine32:i386 wine64 fonts-wine xvfb xdotool imagemagick python3 clang libclang-rt-14-dev acl
          python3-html5lib python3-jsonschema)

# Tests point these at stand-ins; the pause is shortened there too.
update_tries=${VORLIX_APT_UPDATE_TRIES:-3}
update_pause=${VORLIX_APT_UPDATE_PAUSE:-20}

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run as root, or install them by hand." >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# "URI SUITE" of every index that failed to download, once each: the part of
# the failing address before "/dists/", and the suite after it.
failed_sources() {
    grep -oE 'Failed to fetch [^ ]+' "$1" | sed -E 's/^Failed to fetch //' |
        sed -nE 's#^(.*)/dists/([^/]+)/.*$#\1 \2#p' | sort -u
}

update_ok=0
for try in $(seq 1 "$update_tries"); do
    # apt-get exits 0 on Debian 12 when an index fails, 100 on later ones: read its words.
    if apt-get update >"$work/update.log" 2>&1 && ! grep -q 'Failed to fetch' "$work/update.log"; then
        update_ok=1
        break
    fi
    if [ "$try" -lt "$update_tries" ]; then
        echo "apt-get update failed (try $try of $update_tries); trying again in ${update_pause} s."
        sleep "$update_pause"
    fi
done
sources=$(failed_sources "$work/update.log")
if [ "$update_ok" -eq 0 ]; then
    grep -E '^(E|W):' "$work/update.log" | head -n 5
    echo "apt-get update failed $update_tries times; installing with the package indexes that did arrive."
fi

install() {
    DEBIAN_FRONTEND=noninteractive apt-get "$@" install -y -qq "${missing[@]}" >"$work/install.log" 2>&1
}

if install; then
    exit 0
fi

# The same install with the sources whose index failed left out: copies of the
# machine's source files without them, named to apt for this one command.
if [ -n "$sources" ]; then
    eval "$(apt-config shell source_list Dir::Etc::sourcelist/f source_parts Dir::Etc::sourceparts/d)"
    mkdir -p "$work/parts"
    : >"$work/sources.list"
    [ -f "${source_list:-}" ] && cp "$source_list" "$work/sources.list"
    for file in "${source_parts:-/nonexistent}"/*.list "${source_parts:-/nonexistent}"/*.sources; do
        [ -f "$file" ] && cp "$file" "$work/parts/"
    done
    while read -r uri suite; do
        [ -n "$uri" ] || continue
        # One-line form: "deb [options] URI SUITE components".
        for file in "$work/sources.list" "$work/parts"/*.list; do
            [ -f "$file" ] || continue
            awk -v uri="$uri" -v suite="$suite" '
                { line = $0; sub(/\[[^]]*\]/, "", line); n = split(line, f, /[ \t]+/)
                  i = (f[1] == "") ? 2 : 1
                  if (f[i] ~ /^deb/ && f[i + 1] == uri && f[i + 2] == suite) next
                  print }' "$file" >"$file.new" && mv "$file.new" "$file"
        done
        # deb822 form, a stanza a paragraph: the suite is taken out of every stanza of
        # that URI, and a stanza left without a suite is dropped.
        for file in "$work/parts"/*.sources; do
            [ -f "$file" ] || continue
            awk -v uri="$uri" -v suite="$suite" 'BEGIN { RS = ""; ORS = "\n\n" }
                { n = split($0, line, "\n"); has_uri = 0; left = ""; has_suite = 0
                  for (k = 1; k <= n; k++) {
                      if (line[k] ~ /^URIs:/) { m = split(line[k], u, /[ \t]+/)
                          for (j = 2; j <= m; j++) if (u[j] == uri || u[j] == uri "/") has_uri = 1 }
                      if (line[k] ~ /^Suites:/) { m = split(line[k], s, /[ \t]+/)
                          for (j = 2; j <= m; j++) if (s[j] == suite) has_suite = 1
                                                   else if (s[j] != "") left = left " " s[j] } }
                  if (!(has_uri && has_suite)) { print; next }
                  if (left == "") next
                  out = ""
                  for (k = 1; k <= n; k++)
                      out = out (line[k] ~ /^Suites:/ ? "Suites:" left : line[k]) (k < n ? "\n" : "")
                  print out }' "$file" >"$file.new" && mv "$file.new" "$file"
        done
    done <<<"$sources"
    echo "Installing again without the source whose index failed ($(echo "$sources" | tr '\n' ';' | sed 's/;$//; s/;/; /g')), for this run only."
    if install -o Dir::Etc::sourcelist="$work/sources.list" -o Dir::Etc::sourceparts="$work/parts"; then
        echo "Installed. The machine's package sources are unchanged."
        exit 0
    fi
fi

grep -E '^(E|W):' "$work/install.log" | head -n 8
echo
echo "Vorlix could not install the packages it needs (${missing[*]})."
if [ -n "$sources" ]; then
    echo "The package index of $(echo "$sources" | head -n 1) could not be downloaded (\"$(grep -m1 -oE 'File has unexpected size[^.]*\.|Hash Sum mismatch|[0-9]{3} [A-Z][A-Za-z ]+' "$work/update.log" || echo 'failed to fetch')\")."
    echo "That is the state of the package mirror, which is in the middle of a sync: it is not a fault"
    echo "of Vorlix or of this machine, and leaving that source out for one run did not help either."
    echo "What to do: run the same command again later (a mirror sync usually ends within a few hours);"
    echo "or install by hand with that source left out, for example"
    echo "  apt-get -o Dir::Etc::sourceparts=DIR install ${missing[*]}"
    echo "with DIR a copy of /etc/apt/sources.list.d without that source, then run the command again."
elif [ "$update_ok" -eq 0 ]; then
    echo "apt-get update failed and named no index: the package sources cannot be reached from this"
    echo "machine. That is the network or the mirror, not Vorlix. What to do: check that this machine"
    echo "reaches its Debian mirror (apt-get update must succeed), then run the same command again."
else
    echo "The package indexes were downloaded, but the packages could not be installed (the lines above"
    echo "are the package tool's). What to do: run \"apt-get install ${missing[*]}\" by hand to see"
    echo "the whole message; a mirror in the middle of a sync can cause this too, so try again later."
fi
exit 1
