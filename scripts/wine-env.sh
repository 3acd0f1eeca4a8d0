# Sourced by the scripts that run Windows programs: the project's own Wine
# prefix inside the build folder, quiet, and created on first use.
# PIVRO_WINEPREFIX may name another prefix (the demo keeps its own).
top=${top:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${PIVRO_WINEPREFIX:-$top/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Creates the prefix when it is missing or was made before 32-bit Wine was
# installed (it then cannot run the shipped i686 program).
ensure_wine_prefix() {
  if [ -f "$WINEPREFIX/system.reg" ] && [ -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
    return 0
  fi
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  echo "wine: creating the prefix $WINEPREFIX"
  # Made without a display: with one, the prefix's desktop process stays and
  # waiting for the server to finish would never end.
  DISPLAY= wineboot -i >/dev/null 2>&1 || { echo "wine: wineboot failed for $WINEPREFIX" >&2; return 1; }
  wineserver -w
  # Without a replacement Wine draws Chinese text in "Segoe UI" as boxes.
  DISPLAY= wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /t REG_SZ \
    /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1 || { echo "wine: cannot set the font replacement" >&2; return 1; }
  wineserver -w
}
