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

# The end-to-end driver starts the installer, waits for the painted window, asks for the
# screenshot and closes the window through its close request.
shots=$root/build/screenshots
KALVETRA_PREFIX_BITS=32 KALVETRA_SCREENSHOT_DIR=$shots \
  bash tests/e2e/run-scenario.sh "$root/build/win/bin/e2e_driver.exe" show "$installer" "$root/build/win/payload" \
  | grep -E '^(saved|could not|FAIL|time)' || true
shot=$shots/show-32-window.png
[ -f "$shot" ] || { echo "no screenshot was taken" >&2; exit 1; }
echo "screenshot: $shot"
