#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (run as root), and records in
# build/win32-support whether this machine can run the 32-bit Windows programs: "yes", or the
# reason why not. Idempotent: packages already present are left as they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KALVETRA_BUILD:-$root/build}
status_file=$build/win32-support
mkdir -p "$build"

packages=(
  cmake ninja-build pkg-config dpkg-dev
  g++ clang-14 clang libclang-rt-14-dev zlib1g-dev libjpeg-dev libpng-dev libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  libz-mingw-w64-dev googletest
  wine wine64 fonts-wine
  xvfb xauth x11-utils imagemagick
)
packages32=(wine32:i386)

fail() {
  echo "set-up failed: $*" >&2
  exit 1
}

missing_of() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

# apt-get update, retried with a pause: the archive can be caught in the middle of a sync. An
# index that still fails is not fatal; the installs below tell whether what is needed is there.
apt_update() {
  local attempt
  for attempt in 1 2 3; do
    if apt-get update -q >"$build/apt-update.log" 2>&1; then return 0; fi
    [ $attempt -lt 3 ] && sleep $((attempt * 10))
  done
  echo "note: apt-get update could not fetch every index (see $build/apt-update.log); going on with the indexes there are"
}

apt_install() {
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@"
}

# Source entries are needed for the MinGW builds of libjpeg-turbo and libpng.
need_update=0
src_list=/etc/apt/sources.list.d/kalvetra-deb-src.sources
if [ ! -f "$src_list" ]; then
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    grep -q '^Types:.*deb-src' "$f" && continue
    sed -e 's/^Types: deb$/Types: deb-src/' "$f"
    echo
  done > "$src_list.tmp"
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/kalvetra-deb-src.list || true
  fi
  mv "$src_list.tmp" "$src_list"
  need_update=1
fi

# The 32-bit Wine only where the kernel runs 32-bit code; elsewhere no i386 package at all.
run32=0
if bash "$root/tools/probe-32bit.sh" "$build"; then
  run32=1
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    need_update=1
  fi
fi

mapfile -t missing < <(missing_of "${packages[@]}")
missing32=()
[ $run32 = 1 ] && mapfile -t missing32 < <(missing_of "${packages32[@]}")

if [ ${#missing[@]} -gt 0 ] || [ ${#missing32[@]} -gt 0 ] || [ $need_update = 1 ]; then
  apt_update
fi
if [ ${#missing[@]} -gt 0 ] && ! apt_install "${missing[@]}"; then
  # One more try on fresh indexes before giving up.
  apt_update
  apt_install "${missing[@]}" || fail "installing the packages ${missing[*]}"
fi

if [ $run32 = 0 ]; then
  echo "this machine cannot run 32-bit x86 code" > "$status_file"
  echo "note: this machine cannot run 32-bit x86 code: the i686 Windows programs are built but not run"
elif [ ${#missing32[@]} -gt 0 ] && ! apt_install "${missing32[@]}" >"$build/apt-install32.log" 2>&1; then
  echo "the 32-bit Wine could not be installed from the package archive (see build/apt-install32.log)" > "$status_file"
  echo "note: $(cat "$status_file"): the i686 Windows programs are built but not run"
else
  echo yes > "$status_file"
fi
