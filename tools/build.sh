#!/usr/bin/env bash
# Configures and builds both trees: build/host (native) and build/win (MinGW i686), and writes
# build/CTestTestfile.cmake so that `ctest --test-dir build` runs the tests of both.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KALVETRA_BUILD:-$root/build}
jobs=$(nproc)
deps=$build/deps/mingw32

bash "$root/tools/build-deps.sh" "$deps"

cmake -S "$root" -B "$build/host" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/host" -j "$jobs"

cmake -S "$root" -B "$build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DKALVETRA_DEPS_PREFIX="$deps" \
  -DKALVETRA_HOST_BIN="$build/host/bin" -DKALVETRA_OUTPUT_BIN="$build/bin" >/dev/null
cmake --build "$build/win" -j "$jobs"

# The fuzz targets: the portable core built with clang, libFuzzer and the sanitizers.
CC=clang CXX=clang++ cmake -S "$root" -B "$build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVETRA_FUZZ=ON >/dev/null
cmake --build "$build/fuzz" -j "$jobs"

cat > "$build/CTestTestfile.cmake" <<EOT
# Runs the host tests, the fuzz targets for a bounded time, then the Windows and end-to-end tests.
subdirs("host")
subdirs("fuzz")
subdirs("win")
EOT
