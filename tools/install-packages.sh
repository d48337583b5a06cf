#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (run as root).
# Idempotent: packages already present are left as they are.
set -euo pipefail

packages=(
  cmake ninja-build pkg-config dpkg-dev
  g++ clang-14 clang libclang-rt-14-dev zlib1g-dev libjpeg-dev libpng-dev libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  libz-mingw-w64-dev googletest
  wine wine32:i386 wine64 fonts-wine
  xvfb xauth x11-utils imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# Source entries are needed for the MinGW builds of libjpeg-turbo and libpng.
src_list=/etc/apt/sources.list.d/kalvetra-deb-src.sources
need_update=0
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

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
  apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
