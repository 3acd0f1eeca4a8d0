#!/usr/bin/env bash
# The one test command: installs what is missing, builds the shipped i686
# program with its tests, and runs every test under Wine (one Xvfb display
# and one persistent wineserver for the whole run).
#   test.sh [ctest arguments...]      e.g. test.sh -R registry
# PIVRO_ARCH=x86_64 tests the 64-bit build instead.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
arch=${PIVRO_ARCH:-i686}

bash "$top/scripts/setup.sh"
bash "$top/scripts/build.sh" "$arch"

. "$top/scripts/wine-env.sh"
ensure_wine_prefix

runner=(bash "$top/scripts/run-ctest.sh" "$top/build/$arch" "$@")
if [ -z "${DISPLAY:-}" ]; then
  # Windows need an X display; a private Xvfb serves the whole run.
  xvfb-run -a -s '-screen 0 1024x768x24' "${runner[@]}"
else
  "${runner[@]}"
fi
