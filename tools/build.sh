#!/usr/bin/env bash
# Configures and builds every tree: build/host (native), build/win (MinGW i686, the product,
# into build/bin), build/win64 (MinGW x86_64, the native 64-bit variant, into build/bin/x64)
# and build/fuzz, and writes build/CTestTestfile.cmake so that `ctest --test-dir build` runs
# the tests of all of them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KALVETRA_BUILD:-$root/build}
jobs=$(nproc)

cmake -S "$root" -B "$build/host" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/host" -j "$jobs"

# One Windows tree per architecture: <arch> <tree> <output folder of the shipped programs>.
windows_tree() {
  local arch=$1 tree=$2 out=$3
  local deps=$build/deps/mingw$([ "$arch" = i686 ] && echo 32 || echo 64)
  bash "$root/tools/build-deps.sh" "$arch" "$deps"
  cmake -S "$root" -B "$build/$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" -DKALVETRA_DEPS_PREFIX="$deps" \
    -DKALVETRA_HOST_BIN="$build/host/bin" -DKALVETRA_OUTPUT_BIN="$out" >/dev/null
  cmake --build "$build/$tree" -j "$jobs"
}
windows_tree i686 win "$build/bin"
windows_tree x86_64 win64 "$build/bin/x64"

# The fuzz targets: the portable core built with clang, libFuzzer and the sanitizers.
CC=clang CXX=clang++ cmake -S "$root" -B "$build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVETRA_FUZZ=ON >/dev/null
cmake --build "$build/fuzz" -j "$jobs"

cat > "$build/CTestTestfile.cmake" <<EOT
# Runs the host tests, the fuzz targets for a bounded time, then the Windows and end-to-end
# tests of the i686 and the x86_64 build.
subdirs("host")
subdirs("fuzz")
subdirs("win")
subdirs("win64")
EOT
