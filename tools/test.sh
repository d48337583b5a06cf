#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine and runs every test: host, Windows under
# Wine, and end-to-end. Ends with CTest's summary line.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-packages.sh
bash tools/build.sh

source tools/wine-env.sh
# Fresh prefixes for every run; they are shared by all tests of the run.
for bits in 32 64; do
  [ -d "$kalvetra_wine_dir/prefix$bits" ] && (wine_prefix $bits; wineserver -k 2>/dev/null || true)
done
rm -rf "$kalvetra_wine_dir"
wine_display
export DISPLAY
echo "creating Wine prefixes"
(wine_prefix 32) && (wine_prefix 64)
trap 'for b in 32 64; do (wine_prefix $b; wineserver -k 2>/dev/null || true); done; wine_display_stop' EXIT

ctest --test-dir build --output-on-failure --timeout 600 "$@"
