#!/usr/bin/env bash
# Sets everything up and runs the installer under Wine: on $DISPLAY for a person to use, or,
# without a display, on a virtual one, where it waits until the window is painted, saves a
# screenshot of the screen next to the build and closes the window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-packages.sh
bash tools/build.sh
source tools/wine-env.sh
wine_prefix 32
installer=$root/build/bin/Kalvetra_setup.exe

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec wine "$installer"
fi

wine_display
export DISPLAY
shot=$root/build/screenshots/installer.png
mkdir -p "$(dirname "$shot")"
wine "$installer" >/dev/null 2>&1 &
for _ in $(seq 300); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Kalvetra setup"' && break
  sleep 0.1
done
sleep 2  # let the first paint finish
import -window root "$shot"
echo "screenshot: $shot"
wineserver -k
wine_display_stop
