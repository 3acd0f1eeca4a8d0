#!/usr/bin/env bash
# Builds the shipped i686 program and shows the wizard under Wine, in a demo
# prefix that holds a sample machine (Visual C++ 2015 and 2019, Dev-C++,
# CLion and Code::Blocks made of stand-in compilers), so page 2 has usable rows.
# With a display (DISPLAY set) the wizard opens there; without one it runs
# under Xvfb, pages 1 and 2 are saved as screenshots and their paths printed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/setup.sh"
bash "$top/scripts/build.sh" i686 >/dev/null
build=$top/build/i686
exe=$build/dist/pivro-setup.exe
[ -f "$exe" ] || { echo "demo: $exe was not built" >&2; exit 1; }

export PIVRO_WINEPREFIX=$top/build/demo-prefix
. "$top/scripts/wine-env.sh"
ensure_wine_prefix
if [ ! -f "$WINEPREFIX/.pivro-sample-machine" ]; then
  bash "$top/scripts/sample-machine.sh" "$build"
  touch "$WINEPREFIX/.pivro-sample-machine"
fi
# Programs started without a display leave the prefix's desktop process
# without one; the wizard must start with a new server on its own display.
wineserver -k 2>/dev/null || true

if [ -n "${DISPLAY:-}" ]; then
  echo "demo: starting the wizard on $DISPLAY (sample machine in $WINEPREFIX)"
  exec wine "$exe"
fi

shots=$top/build/demo-screenshots
mkdir -p "$shots"
# Screenshots of an earlier run must not pass for this one's.
rm -f "$shots/page1.png" "$shots/page2.png"
export shots exe
# Any step that fails ends the run with a message; the wizard and its server
# are stopped on every way out.
if ! xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  set -eu
  trap "wineserver -k 2>/dev/null || true" EXIT
  fail() { echo "demo: $*" >&2; exit 1; }
  wine "$exe" >/dev/null 2>&1 &
  wizard=$!
  id=
  for i in $(seq 1 300); do
    id=$(xdotool search --onlyvisible --name "Pivro 26.10.25" 2>/dev/null | tail -1) && [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || fail "the wizard window did not appear"
  geometry=$(xdotool getwindowgeometry --shell "$id") || fail "the position of the wizard window could not be read"
  X= Y=
  eval "$geometry"
  [ -n "$X" ] && [ -n "$Y" ] || fail "the position of the wizard window could not be read"
  shot() {
    import -window root -crop 490x328+$X+$Y +repage "$shots/$1" || fail "the screenshot $shots/$1 could not be taken"
  }
  # A press held for a few frames, as a hand does: the UI sees the button
  # go down in one frame and up in a later one.
  press() {
    { xdotool mousemove $((X + $1)) $((Y + $2)) && sleep 0.2 && xdotool mousedown 1 && sleep 0.15 &&
      xdotool mouseup 1; } || fail "the click at $1,$2 in the wizard window failed"
  }
  sleep 1
  shot page1.png
  press 330 306
  sleep 8
  shot page2.png
  press 430 306
  # "关闭" ends the wizard; should it not, the demo does not wait forever.
  for _ in $(seq 1 100); do kill -0 $wizard 2>/dev/null || break; sleep 0.2; done
'; then
  echo "demo: the headless run failed; no screenshots are listed" >&2
  exit 1
fi
echo "demo: no display; screenshots of the wizard:"
echo "  $shots/page1.png"
echo "  $shots/page2.png"
