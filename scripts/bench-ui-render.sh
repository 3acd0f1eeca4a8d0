#!/usr/bin/env bash
# Builds and runs the UI renderer benchmark of the i686 build under Wine:
#   bench-ui-render.sh [frames]     (3000 frames when not given)
# Prints the time of ui_render plus the flush per frame, the width queries and
# GDI objects made per frame, and the process's GDI object count.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/setup.sh"
dir=$top/build/i686
[ -f "$dir/build.ninja" ] || bash "$top/scripts/build.sh" i686 >/dev/null
cmake --build "$dir" --target ui_render_bench
exec bash "$top/scripts/wine-run.sh" --gui "$dir/ui_backend/ui_render_bench.exe" "$@"
