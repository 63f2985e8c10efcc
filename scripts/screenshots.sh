#!/usr/bin/env bash
# Takes the README's screenshots from the real program under Wine: the
# end-to-end driver walks through Vorlix and asks for a picture at each step.
# Usage: scripts/screenshots.sh [folder]   (default: docs/screenshots)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:-$root/docs/screenshots}
mkdir -p "$target"

"$root/scripts/install-deps.sh"
source "$root/scripts/mode.sh"
"$root/scripts/build.sh" win >/dev/null
unset DISPLAY
source "$root/scripts/wine-env.sh"
trap stop_wine_env EXIT

exchange=$(mktemp -d)
chmod 777 "$exchange"
export VORLIX_SCREENSHOT_DIR="$exchange" VORLIX_EXE="$program_build/vorlix.exe"
as_wine_user "$wine_loader" "$win_build/vorlix_e2e.exe" --gtest_also_run_disabled_tests \
    --gtest_filter='*Screenshots*' >"$exchange/driver.log" 2>&1 &
driver=$!
while kill -0 "$driver" 2>/dev/null; do
    if [ -f "$exchange/request" ]; then
        name=$(cat "$exchange/request")
        import -window root -crop 1280x1000+0+0 "$target/$name.png"
        echo "Saved $target/$name.png"
        rm -f "$exchange/request"
    fi
    sleep 0.2
done
wait "$driver" || { cat "$exchange/driver.log"; exit 1; }

# The HTML report the driver wrote, as a real browser shows it.
if [ ! -f "$exchange/report.html" ]; then
    echo "The driver wrote no report.html to photograph in a browser:"
    cat "$exchange/driver.log"
    exit 1
fi
if ! command -v chromium >/dev/null; then
    apt-get install -y --no-install-recommends chromium >/dev/null
fi
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1100,1400 \
    --screenshot="$target/report-html.png" "file://$exchange/report.html" 2>/dev/null
echo "Saved $target/report-html.png"
rm -rf "$exchange"
