#!/usr/bin/env bash
# Frame figures of the running wizard on the sample machine, under Wine
# (under its own Xvfb when no display is set):
#   bench-wizard-frame.sh [frames per page] [idle seconds]     (10000 and 5)
# Prints per page the median frame time, the frames per second with the
# loop's pause, the idle CPU share and the object counts, then the working set.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/bench-prefix.sh"
exec bash "$top/scripts/wine-run.sh" --gui "$build/app/wizard_frame_bench.exe" "$@"
