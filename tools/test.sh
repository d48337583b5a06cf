#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine and runs every test: host, fuzz, Windows under
# Wine (the i686 and the x86_64 build), end-to-end. A 32-bit Windows test that this machine
# cannot run is reported as skipped with the reason. Ends with a line that says which Windows
# builds ran, after CTest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-packages.sh
bash tools/build.sh

source tools/wine-env.sh
reason32=$(wine32_unavailable_reason)
prefixes=(64)
[ -z "$reason32" ] && prefixes=(32 64)
# Fresh prefixes for every run; they are shared by all tests of the run.
for bits in 32 64; do
  [ -d "$kalvetra_wine_dir/prefix$bits/wine" ] &&
    (export WINEPREFIX=$kalvetra_wine_dir/prefix$bits/wine; "$kalvetra_wine_lib/wineserver64" -k 2>/dev/null || true)
done
rm -rf "$kalvetra_wine_dir"
wine_display
export DISPLAY
echo "creating Wine prefixes: ${prefixes[*]}-bit"
for bits in "${prefixes[@]}"; do (wine_prefix "$bits"); done
trap 'for b in "${prefixes[@]}"; do (wine_prefix $b; "$WINESERVER" -k 2>/dev/null || true); done; wine_display_stop' EXIT

if [ -z "$reason32" ]; then
  builds="Windows tests ran for the i686 build (32- and 64-bit prefix) and the x86_64 build (64-bit prefix)"
else
  builds="Windows tests ran for the x86_64 build (64-bit prefix); the i686 build's were skipped: $reason32"
fi
echo "$builds"
rc=0
ctest --test-dir build --output-on-failure --timeout 600 "$@" || rc=$?
echo "$builds"
exit $rc
