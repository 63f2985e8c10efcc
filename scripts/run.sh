#!/usr/bin/env bash
# Installs what is missing, builds Vorlix and starts it under Wine.
# With a display, Vorlix opens there and this script waits until it ends.
# Without one, it starts Vorlix on a virtual display, saves a screenshot of
# the main window and says where, then ends it again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" win >/dev/null
exe="$root/build/win/vorlix.exe"
echo "Built $exe"

had_display=${DISPLAY:-}
source "$root/scripts/wine-env.sh"
trap stop_wine_env EXIT

if [ -n "$had_display" ]; then
    echo "Starting Vorlix on $DISPLAY (close its window to end)..."
    as_wine_user wine "$exe"
    exit 0
fi

shots="$root/build/screenshots"
mkdir -p "$shots"
as_wine_user wine "$exe" &
for _ in $(seq 100); do
    if xdotool search --name '^Vorlix$' >/dev/null 2>&1; then
        break
    fi
    sleep 0.2
done
sleep 1
import -window root "$shots/main-window.png"
echo "Vorlix is running on the virtual display $DISPLAY."
echo "Screenshot of its main window: $shots/main-window.png"
