#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's 32-bit prefix (or the one named by
# KALVETRA_PREFIX_BITS) on the shared virtual display, with the loader for the program's
# architecture (KALVETRA_BINARY_ARCH). Used by CTest as the cross emulator. A program this
# machine cannot run ends as skipped (exit status 77) with the reason.
# A virtual display started here (no DISPLAY given) is stopped again when the program ends.
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
wine_skip_unless_runnable
wine_prefix "${KALVETRA_PREFIX_BITS:-32}"
wine_display || exit 1
if [ -z "${kalvetra_xvfb_pid:-}" ]; then
  wine_exec "$@"
  exit $?
fi
wine_exec "$@"
rc=$?
timeout 30 "$WINESERVER" -w || true
wine_display_stop
exit $rc
