#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's 32-bit prefix (or the one named by
# KALVETRA_PREFIX_BITS) on the shared virtual display. Used by CTest as the cross emulator.
# A virtual display started here (no DISPLAY given) is stopped again when the program ends.
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
wine_prefix "${KALVETRA_PREFIX_BITS:-32}"
wine_display || exit 1
if [ -z "${kalvetra_xvfb_pid:-}" ]; then
  exec wine "$@"
fi
wine "$@"
rc=$?
timeout 30 wineserver -w || true
wine_display_stop
exit $rc
