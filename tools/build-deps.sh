#!/usr/bin/env bash
# Builds the Windows (MinGW) libraries that Debian does not package for MinGW: libjpeg-turbo
# and libpng from Debian's source packages, GoogleTest from /usr/src/googletest.
# Usage: build-deps.sh [i686|x86_64 [prefix]]. Everything lands in the prefix (default
# build/deps/mingw32 or build/deps/mingw64); a stamp per library makes reruns free.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-i686}
case $arch in
  i686) default_prefix=$root/build/deps/mingw32 ;;
  x86_64) default_prefix=$root/build/deps/mingw64 ;;
  *) echo "unknown architecture $arch" >&2; exit 2 ;;
esac
prefix=${2:-$default_prefix}
# The sources are shared by both architectures; each has its own build folders.
work=$(dirname "$prefix")/src
toolchain=$root/cmake/mingw-$arch.cmake
sysroot=/usr/$arch-w64-mingw32
mkdir -p "$prefix" "$work"
jobs=$(nproc)

# Downloads and unpacks a Debian source package into $work/<pkg>, trying the
# versions the archive lists, newest first, until one can be fetched.
fetch_source() {
  local pkg=$1
  local dir=$work/$pkg
  [ -d "$dir/unpacked" ] && return 0
  rm -rf "$dir" && mkdir -p "$dir"
  local versions
  versions=$(apt-cache showsrc "$pkg" | awk '/^Version:/ {print $2}' | sort -V -r | uniq)
  for v in "" $versions; do
    local request=$pkg; [ -n "$v" ] && request="$pkg=$v"
    rm -f "$dir"/*
    if (cd "$dir" && apt-get source --download-only -q "$request" >/dev/null 2>&1); then
      (cd "$dir" && dpkg-source --no-check -x ./*.dsc unpacked >/dev/null)
      return 0
    fi
  done
  echo "could not fetch the source package $pkg" >&2
  return 1
}

cmake_build() {
  local name=$1 src=$2; shift 2
  local bld=$work/$name-$arch-build
  cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DKALVETRA_DEPS_PREFIX="$prefix" -Wno-dev "$@" >/dev/null
  cmake --build "$bld" -j "$jobs" >/dev/null
  cmake --install "$bld" >/dev/null
}

if [ ! -f "$prefix/.libjpeg.stamp" ]; then
  echo "deps ($arch): libjpeg-turbo"
  fetch_source libjpeg-turbo
  cmake_build libjpeg "$work/libjpeg-turbo/unpacked" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
  touch "$prefix/.libjpeg.stamp"
fi

if [ ! -f "$prefix/.libpng.stamp" ]; then
  echo "deps ($arch): libpng"
  fetch_source libpng1.6
  cmake_build libpng "$work/libpng1.6/unpacked" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_INCLUDE_DIR=$sysroot/include -DZLIB_LIBRARY=$sysroot/lib/libz.a
  touch "$prefix/.libpng.stamp"
fi

if [ ! -f "$prefix/.gtest.stamp" ]; then
  echo "deps ($arch): googletest"
  cmake_build gtest /usr/src/googletest -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF
  touch "$prefix/.gtest.stamp"
fi
