#!/usr/bin/env bash
# Builds the shipped i686 program and shows the wizard under Wine.
# Until the wizard program exists, it builds and says so.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/setup.sh"
bash "$top/scripts/build.sh" i686
exe=$top/build/i686/dist/pivro-setup.exe
if [ ! -f "$exe" ]; then
  echo "demo: built; the wizard program itself is not part of the build yet."
  exit 0
fi
