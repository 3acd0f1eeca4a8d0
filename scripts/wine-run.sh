#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's prefix:
#   wine-run.sh [--gui] program.exe [arguments...]
# --gui: the program needs an X display; when none is set it runs under its
# own Xvfb. The exit code is the program's.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine-env.sh"

gui=0
if [ "${1:-}" = --gui ]; then gui=1; shift; fi
[ $# -ge 1 ] || { echo "usage: wine-run.sh [--gui] program.exe [args...]" >&2; exit 2; }

ensure_wine_prefix || exit 1
if [ $gui = 1 ] && [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1024x768x24' wine "$@"
fi
exec wine "$@"
