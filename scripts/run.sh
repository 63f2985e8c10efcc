#!/usr/bin/env bash
# Installs what is missing, builds Vorlix and starts it under Wine.
# With a display, Vorlix opens there and this script waits until it ends.
# Without one, it starts Vorlix on a virtual display, saves a screenshot of
# the main window, says where, and closes Vorlix again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
source "$root/scripts/mode.sh"
"$root/scripts/build.sh" win >/dev/null
exe="$program_build/vorlix.exe"
echo "Built $exe ($vorlix_bits-bit)"
[ "$program_build" != "$shipped_build" ] && echo "The program to ship is the 32-bit $shipped_build/vorlix.exe."

had_display=${DISPLAY:-}
source "$root/scripts/wine-env.sh"

if [ -n "$had_display" ]; then
    echo "Starting Vorlix on $DISPLAY (close its window to end)..."
    as_wine_user "$wine_loader" "$exe"
    exit 0
fi

shots="$root/build/screenshots"
mkdir -p "$shots"
log=$(mktemp)
chmod 666 "$log"
as_wine_user "$wine_loader" "$exe" >"$log" 2>&1 &
started=""
for _ in $(seq 100); do
    if xdotool search --name '^Vorlix$' >/dev/null 2>&1; then
        started=1
        break
    fi
    sleep 0.2
done
if [ -z "$started" ]; then
    echo "Vorlix did not open its main window within 20 s. Wine said:" >&2
    cat "$log" >&2
    rm -f "$log"
    exit 1
fi
sleep 1
import -window root -crop 1280x1000+0+0 "$shots/main-window.png"
rm -f "$log"
echo "Started Vorlix on a virtual display (there is no DISPLAY) and saved a screenshot of its main window:"
echo "  $shots/main-window.png"
echo "Vorlix has been closed again; run this script with a display to use it."
