#!/usr/bin/env bash
# Runs CTest for one build folder with one persistent wineserver, stopped at
# the end:  run-ctest.sh <build folder> [ctest arguments...]
# Called by test.sh inside its X display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine-env.sh"
dir=$1; shift
# A persistent server: each program start then costs well under a second.
# Its services are started here, away from CTest's pipes: a service that
# inherited a test's output pipe would keep it open and CTest would wait on it.
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true' EXIT
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
cd "$dir"
ctest --output-on-failure "$@"
