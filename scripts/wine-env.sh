# Sourced by the scripts that run Vorlix under Wine: a private prefix in the
# build tree (32-bit, or 64-bit in the 64-bit mode; see mode.sh), one
# wineserver for the whole run, and a virtual display when there is none.
# As root, Wine runs as the user vorlix-test (see run-under-wine.sh).
# The Xvfb started here is ended on every exit path of the sourcing script.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/mode.sh"
export WINEARCH="${WINEARCH:-$VORLIX_WINE_ARCH}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer dialogs when a prefix is created.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

as_wine_user() {
    if [ "$(id -u)" = 0 ]; then
        runuser -u vorlix-test -- "$@"
    else
        "$@"
    fi
}

# Runs a Wine command that must succeed; on failure says what failed, with
# its output, and ends the script.
wine_setup_step() {
    local what=$1 output
    shift
    if ! output=$(as_wine_user "$@" 2>&1); then
        echo "Wine setup failed: $what ($*)" >&2
        printf '%s\n' "$output" | tail -n 30 >&2
        exit 1
    fi
}

started_xvfb=""
stop_wine_env() {
    as_wine_user wineserver -k 2>/dev/null || true
    if [ -n "$started_xvfb" ]; then
        kill "$started_xvfb" 2>/dev/null || true
        wait "$started_xvfb" 2>/dev/null || true
        started_xvfb=""
    fi
}
trap stop_wine_env EXIT

if [ "$(id -u)" = 0 ]; then
    if ! id vorlix-test >/dev/null 2>&1; then
        useradd --system --create-home --home-dir /var/lib/vorlix-test \
            --shell /usr/sbin/nologin vorlix-test
    fi
    # The test user must reach the build tree; a clone under /root, say, is
    # closed to other users. Grant that one user passage (not listing)
    # through each folder above the tree that it cannot enter.
    path=""
    IFS=/ read -ra folders <<<"${root#/}"
    for folder in "${folders[@]}"; do
        path="$path/$folder"
        if ! runuser -u vorlix-test -- test -x "$path"; then
            setfacl -m u:vorlix-test:x "$path"
        fi
    done
    suffix=-vorlix-test
else
    suffix=""
fi
if [ "$WINEARCH" = win64 ]; then
    export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix64$suffix}"
else
    export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix$suffix}"
fi
mkdir -p "$WINEPREFIX"
if [ "$(id -u)" = 0 ]; then
    chown vorlix-test: "$WINEPREFIX"
fi

if [ -z "${DISPLAY:-}" ]; then
    for display in $(seq 90 199); do
        if [ ! -e "/tmp/.X11-unix/X$display" ] && [ ! -e "/tmp/.X$display-lock" ]; then
            Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            started_xvfb=$!
            export DISPLAY=":$display"
            break
        fi
    done
    if [ -z "${DISPLAY:-}" ]; then
        echo "No free X display number for Xvfb" >&2
        exit 1
    fi
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break
        sleep 0.1
    done
    if [ ! -e "/tmp/.X11-unix/X${DISPLAY#:}" ]; then
        echo "Xvfb did not start on $DISPLAY" >&2
        exit 1
    fi
fi

fresh_prefix=""
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX (once)..."
    wine_setup_step "creating the prefix" "$wine_loader" wineboot -i
    fresh_prefix=1
fi
# One virtual desktop holds every window: Wine then need not wait for an X
# window manager that Xvfb does not have, and screenshots show the frames.
if ! grep -q 'Explorer\\\\Desktops' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine_setup_step "setting the virtual desktop" \
        "$wine_loader" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
    wine_setup_step "setting the virtual desktop size" \
        "$wine_loader" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1000 /f
    fresh_prefix=1
fi
# Wine's own fonts (Marlett draws the caption buttons, Tahoma the dialogs) come with the
# package fonts-wine in /usr/share/wine/fonts. Debian's Wine 8 asks for them at
# "<data folder>\../fonts", which its file lookup does not resolve, and draws "0 1 r" in
# place of the caption buttons; so the prefix names their folder as a font path of its own.
if [ -f /usr/share/wine/fonts/marlett.ttf ] &&
    ! grep -q '^"Path"="Z:\\\\usr\\\\share\\\\wine\\\\fonts"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine_setup_step "naming the folder of Wine's fonts" \
        "$wine_loader" reg add 'HKCU\Software\Wine\Fonts' /v Path /d 'Z:\usr\share\wine\fonts' /f
fi
# A new prefix is restarted once, so that the tests meet one settled set of
# services (the first start leaves a second service manager for a while).
if [ -n "$fresh_prefix" ]; then
    as_wine_user wineserver -k 2>/dev/null || true
    as_wine_user wineserver -w 2>/dev/null || true
fi
as_wine_user wineserver -p >/dev/null 2>&1 || true
