#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's 32-bit prefix (or the one named by
# KALVETRA_PREFIX_BITS) on the shared virtual display. Used by CTest as the cross emulator.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
wine_prefix "${KALVETRA_PREFIX_BITS:-32}"
wine_display
exec wine "$@"
