#!/usr/bin/env bash
# Runs one end-to-end scenario: the driver under Wine (prefix from KALVETRA_PREFIX_BITS) on a
# private virtual display. When KALVETRA_SCREENSHOT_DIR is set, the driver asks for
# screenshots ("SCREENSHOT <state>"); each is taken of the whole screen as
# <scenario>-<tag>-<state>.png (tag: KALVETRA_RUN_TAG, default the prefix bits) and answered
# with a line on the driver's standard input.
# Usage: run-scenario.sh <e2e_driver.exe> <scenario> <installer.exe> <payload folder>
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
driver=$1 scenario=$2
shift 2
bits=${KALVETRA_PREFIX_BITS:-32}
tag=${KALVETRA_RUN_TAG:-$bits}
shots=${KALVETRA_SCREENSHOT_DIR:-}

source "$root/tools/wine-env.sh"
wine_skip_unless_runnable "$bits"
wine_prefix "$bits"
# Real mouse input goes to this display: never use the user's own screen.
unset DISPLAY
wine_display || exit 1
export DISPLAY

finish() {
  # Let the prefix's Wine processes end before their display goes away.
  timeout 30 "$WINESERVER" -w || true
  wine_display_stop
}
trap finish EXIT
trap 'exit 143' TERM INT

extra=()
if [ -n "$shots" ]; then
  mkdir -p "$shots"
  extra=(--screenshots)
fi

coproc DRIVER { "$root/tools/wine-run.sh" "$driver" "$scenario" "$@" "${extra[@]}" 2>&1; }
driver_pid=$DRIVER_PID
exec {to_driver}>&"${DRIVER[1]}" {from_driver}<&"${DRIVER[0]}"
while IFS= read -r line <&"$from_driver"; do
  line=${line%$'\r'}
  printf '%s\n' "$line"
  if [[ $line == "SCREENSHOT "* ]]; then
    file=$shots/$scenario-$tag-${line#SCREENSHOT }.png
    if import -window root "$file"; then echo "saved  $file"; else echo "could not save $file"; fi
    echo >&"$to_driver"
  fi
done
wait "$driver_pid"
rc=$?
[ "$rc" -ne 0 ] && echo "driver exit code: $rc"
exit "$rc"
