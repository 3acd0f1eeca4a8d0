#!/usr/bin/env bash
# Runs the shapes demo under a private X display and saves what its window
# shows:  graphics/demo/shot.sh [out.png]   (default build/i686/shapes_demo.png)
# Needs the i686 build (scripts/build.sh) and the project's Wine prefix.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/wine-env.sh"
ensure_wine_prefix
out=${1:-$top/build/i686/shapes_demo.png}
bmp=$top/build/i686/shapes_demo.bmp
xvfb-run -a -s '-screen 0 1024x768x24' \
  wine "$top/build/i686/graphics/pivro_shapes_demo.exe" "Z:${bmp//\//\\}" </dev/null
convert "$bmp" "$out"
echo "$out"
