#!/usr/bin/env bash
# Configures and builds one architecture:  build.sh [i686|x86_64]
# The build folder is build/<arch>. Prints nothing but the build's own output.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-i686}
case $arch in i686|x86_64) ;; *) echo "build: unknown architecture '$arch' (i686 or x86_64)" >&2; exit 2;; esac
dir=$top/build/$arch
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-$arch.cmake" >/dev/null
fi
cmake --build "$dir" -- -k 0
