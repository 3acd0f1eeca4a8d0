#!/usr/bin/env bash
# Catalogue build times under Wine: on the sample machine, then on scratch
# machines with 0 to 3 MinGW kinds found (one gcc run each):
#   bench-catalogue-build.sh [builds per machine]     (9 when not given)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/bench-prefix.sh"
exec bash "$top/scripts/wine-run.sh" "$build/tests/catalogue_build_bench.exe" "$@"
