#!/usr/bin/env bash
# Sets everything up and runs the installer under Wine: the i686 build (the product) where this
# machine runs 32-bit code, else the x86_64 build; it says which one. On $DISPLAY for a person
# to use, or, without a display, on a virtual one, where it waits until the window is painted,
# saves a screenshot of the screen next to the build and closes the window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-packages.sh
bash tools/build.sh
source tools/wine-env.sh
reason32=$(wine32_unavailable_reason)
if [ -z "$reason32" ]; then
  export KALVETRA_BINARY_ARCH=i686 KALVETRA_PREFIX_BITS=32 KALVETRA_RUN_TAG=32
  installer=$root/build/bin/Kalvetra_setup.exe
  driver=$root/build/win/bin/e2e_driver.exe payload=$root/build/win/payload
  echo "showing the i686 installer (build/bin/Kalvetra_setup.exe) in the 32-bit prefix"
else
  export KALVETRA_BINARY_ARCH=x86_64 KALVETRA_PREFIX_BITS=64 KALVETRA_RUN_TAG=x64
  installer=$root/build/bin/x64/Kalvetra_setup.exe
  driver=$root/build/win64/bin/e2e_driver.exe payload=$root/build/win64/payload
  echo "showing the x86_64 installer (build/bin/x64/Kalvetra_setup.exe) in the 64-bit prefix: $reason32"
fi
wine_prefix "$KALVETRA_PREFIX_BITS"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  wine_exec "$installer"
  exit $?
fi

# The end-to-end driver starts the installer, waits for the painted window, asks for the
# screenshot and closes the window through its close request.
shots=$root/build/screenshots
KALVETRA_SCREENSHOT_DIR=$shots bash tests/e2e/run-scenario.sh "$driver" show "$installer" "$payload" \
  | grep -E '^(saved|could not|FAIL|time)' || true
shot=$shots/show-$KALVETRA_RUN_TAG-window.png
[ -f "$shot" ] || { echo "no screenshot was taken" >&2; exit 1; }
echo "screenshot: $shot"
