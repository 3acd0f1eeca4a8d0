# Sourced by the benchmark scripts: builds the i686 build with its test
# fixtures and points Wine at a prefix of the benchmarks' own that holds the
# sample machine (made once, from the project's prefix when there is one).
top=${top:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
bash "$top/scripts/setup.sh"
build=$top/build/i686
bash "$top/scripts/build.sh" i686 >/dev/null
export PIVRO_WINEPREFIX=$top/build/bench-prefix
if [ ! -f "$PIVRO_WINEPREFIX/.pivro-sample-machine" ] && [ -f "$top/build/wineprefix/system.reg" ] &&
  [ ! -d "$PIVRO_WINEPREFIX" ]; then
  cp -a "$top/build/wineprefix" "$PIVRO_WINEPREFIX"
fi
. "$top/scripts/wine-env.sh"
ensure_wine_prefix
if [ ! -f "$WINEPREFIX/.pivro-sample-machine" ]; then
  bash "$top/scripts/sample-machine.sh" "$build" >/dev/null
  wineserver -w
  touch "$WINEPREFIX/.pivro-sample-machine"
fi
