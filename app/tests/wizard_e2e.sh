#!/usr/bin/env bash
# End-to-end test of the shipped setup program, driven as a user drives it:
# the real program in a Wine prefix holding a sample machine (stand-in
# compilers), real mouse and keyboard input through the X server, and checks
# of what the window shows (screenshots, kept as artefacts) and of what the
# program wrote to disk.
#   wizard_e2e.sh <build folder>
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?usage: wizard_e2e.sh <build folder>}" && pwd)
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1024x768x24' bash "$0" "$@"
fi

exe=$build/dist/pivro-setup.exe
dist=$build/dist
art=$build/tests/e2e-artefacts
rm -rf "$art" && mkdir -p "$art"
export PIVRO_WINEPREFIX=$build/e2e-prefix
. "$top/scripts/wine-env.sh"
ensure_wine_prefix || exit 1
# This prefix gets a server of its own, started away from CTest's pipes.
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null' EXIT
wine cmd.exe /c exit </dev/null >/dev/null 2>&1

c=$WINEPREFIX/drive_c
# A fresh sample machine every run.
rm -rf "$c/Program Files (x86)/Microsoft Visual Studio" "$c/Program Files (x86)/Microsoft Visual Studio 14.0" \
  "$c/Program Files (x86)/Dev-Cpp" "$c/Program Files/JetBrains" "$c/Program Files/CodeBlocks"
rm -f "$c"/users/*/Desktop/Pivro_Help.lnk
bash "$top/scripts/sample-machine.sh" "$build" >/dev/null || exit 1
# Code::Blocks' gcc takes three seconds, so the detection can be caught running.
codeblocks_bin="$c/Program Files/CodeBlocks/MinGW/bin"
cp "$build/tests/fixtures/slow_gcc/gcc.exe" "$codeblocks_bin/gcc.exe"
detection_done="$codeblocks_bin/gcc-done.txt"

passed=0
failed=0
check() {  # check <description> <command...>
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what"; fi
}
not() { ! "$@"; }
same_file() { cmp -s "$1" "$2"; }
# Two pictures with the same pixels (their files differ in time stamps).
same_image() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
# Two pictures whose pixels differ: compare's status 1. Its status 2 (a
# picture missing or unreadable) is a failure, not a difference.
differ_image() {
  compare -metric AE "$1" "$2" null: >/dev/null 2>&1
  [ $? = 1 ]
}
absent() { [ ! -e "$1" ]; }

pid=
start_wizard() {
  wine "$exe" >/dev/null 2>&1 &
  pid=$!
  id=
  for _ in $(seq 1 150); do
    id=$(xdotool search --onlyvisible --name "Pivro 26.10.25" 2>/dev/null | tail -1)
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "FAILED: the wizard window did not appear"; failed=$((failed + 1)); return 1; }
  eval "$(xdotool getwindowgeometry --shell "$id")"
}
# A screenshot of the window, $art/<name>.png, becomes the last screenshot. A
# capture that fails counts as a failed check and leaves no last screenshot,
# so that no check, negated ones included, passes on a picture not taken.
shot() {
  last=$art/$1.png
  rm -f "$last"
  import -window root -crop "490x328+$X+$Y" +repage "$last" && [ -s "$last" ] && return 0
  echo "FAILED: screenshot $1"
  failed=$((failed + 1))
  return 1
}
# The colour of a window pixel in the last screenshot, as "r,g,b".
pixel() { convert "$last" -format "%[fx:int(255*p{$1,$2}.r+0.5)],%[fx:int(255*p{$1,$2}.g+0.5)],%[fx:int(255*p{$1,$2}.b+0.5)]" info:; }
pixel_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }
# A press held over a few frames, as a hand does.
press() {
  xdotool mousemove $((X + $1)) $((Y + $2)); sleep 0.2
  xdotool mousedown 1; sleep 0.15; xdotool mouseup 1; sleep 0.4
}
wheel() {  # wheel <up|down> <clicks>
  local button=4; [ "$1" = down ] && button=5
  xdotool mousemove $((X + 240)) $((Y + 190))
  for _ in $(seq 1 "$2"); do xdotool click $button; sleep 0.05; done
  # Off the list again, so that no tooltip covers the rows.
  xdotool mousemove $((X + 480)) $((Y + 60))
  sleep 0.4
}
wait_for() {  # wait_for <seconds> <command...>: true once the command is
  local until=$((SECONDS + $1)); shift
  while ! "$@"; do [ $SECONDS -ge $until ] && return 1; sleep 0.2; done
}
page1_shown() { shot probe && pixel_is 20 20 33,23,129 && pixel_is 300 150 245,245,239; }
page2_shown() { shot probe && pixel_is 480 10 250,250,250 && pixel_is 480 60 235,235,209; }
await_exit() {  # sets code to the program's exit code once it has ended, "timeout" after 30 s
  local until=$((SECONDS + 30))
  while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -ge $until ] && { kill "$pid"; wineserver -k; code=timeout; return; }
    sleep 0.2
  done
  wait "$pid"
  code=$?
}
crop() { convert "$last" -crop "$3x$4+$1+$2" +repage "$art/$5.png"; }

# List rows: row i of the visible list has its buttons at y = 121 + 39 i. A
# usable row shows "安装" and "卸载" with a gap of page colour between them at
# x = 402; a row that is not usable shows one wide "选择安装目录" there.
# The probe sits 9 pixels above the row's middle, clear of the button texts.
row_y() { echo $((121 + 39 * $1)); }
usable_at() { pixel_is 402 $(($(row_y "$1") - 9)) 235,235,209; }
not_usable_at() { pixel_is 402 $(($(row_y "$1") - 9)) 222,222,222; }
install_at() { press 377 "$(row_y "$1")"; }
uninstall_at() { press 427 "$(row_y "$1")"; }
# The message box (120, 100, 220, 80) covers the list: its text line, then
# its OK button across the box's width.
message_open() { shot probe && pixel_is 135 160 222,222,222 && pixel_is 320 160 222,222,222; }
message_text() { shot "$1" && crop 124 106 212 24 "$1-text"; }
close_message() { press 230 160; }

vc2015="$c/Program Files (x86)/Microsoft Visual Studio 14.0/VC"
devcpp_target="$c/Program Files (x86)/Dev-Cpp/MinGW64/x86_64-w64-mingw32"

# 1. Page 1 is on screen while the detection runs; "下一步 >" pressed then
#    acts once it has returned.
start_wizard || exit 1
wait_for 20 page1_shown; shot p1-during-detection
check "page 1 shows before the detection ends" page1_shown
check "the detection is still running when page 1 shows" absent "$detection_done"
press 330 306
shot p1-next-pressed-during-detection
check "the press waits while the detection runs" page1_shown
check "the press was made during the detection" absent "$detection_done"
check "page 2 follows once the detection has returned" wait_for 30 page2_shown
check "the detection ran" test -e "$detection_done"
shot p2-top

# 2. The 15 rows in catalogue order: the documentation row, Visual C++ 2015
#    and 2019, Dev-C++, CLion, Code::Blocks (refused), then the eight missing
#    Visual C++ versions and "其它 MinGW"; the wheel scrolls the list.
for i in 0 1 2 3; do check "row $i is usable" usable_at $i; done
wheel down 3; shot p2-scrolled-a-little
check "the wheel scrolls the list" differ_image "$art/p2-top.png" "$art/p2-scrolled-a-little.png"
wheel down 30; shot p2-scrolled-to-the-end
for i in 0 1 2; do check "row $i from the end is not usable" not_usable_at $i; done
wheel up 40; shot p2-scrolled-back
for i in 0 1 2 3; do check "row $i is usable again" usable_at $i; done

# 3. A detail line shows its tooltip.
xdotool mousemove $((X + 200)) $((Y + 112)); sleep 0.6; shot p2-tooltip
check "the tooltip opens over a detail line" not pixel_is 205 130 235,235,209

# 4. Visual C++ 2015: install, uninstall, uninstall again.
install_at 1
check "install opens the message box" message_open
message_text msg-vc-install
check "headers installed" same_file "$dist/include/pivro.h" "$vc2015/include/pivro.h"
check "second header installed" same_file "$dist/include/graphics.h" "$vc2015/include/graphics.h"
check "x86 libraries installed" same_file "$dist/lib_vc2015/x86/Pivrow.lib" "$vc2015/lib/Pivrow.lib"
check "x64 libraries installed" same_file "$dist/lib_vc2015/x64/Pivroa.lib" "$vc2015/lib/amd64/Pivroa.lib"
close_message
check "OK closes the message box" not message_open
uninstall_at 1
check "uninstall opens the message box" message_open
message_text msg-vc-uninstall
check "headers removed" absent "$vc2015/include/pivro.h"
check "libraries removed" absent "$vc2015/lib/amd64/Pivrow.lib"
close_message
uninstall_at 1
check "a second uninstall reports too" message_open
message_text msg-vc-uninstall-again
check "the second uninstall says something else than the first" \
  differ_image "$art/msg-vc-uninstall-text.png" "$art/msg-vc-uninstall-again-text.png"
check "uninstall and install say different things" \
  differ_image "$art/msg-vc-uninstall-text.png" "$art/msg-vc-install-text.png"
close_message

# 5. Dev-C++ (a MinGW row): the 4.9.2 build for both architectures.
install_at 3
check "MinGW install opens the message box" message_open
message_text msg-devcpp-install
check "MinGW install says what the VC install said" same_image "$art/msg-devcpp-install-text.png" "$art/msg-vc-install-text.png"
check "MinGW headers installed" same_file "$dist/include/pivro.h" "$devcpp_target/include/pivro.h"
check "MinGW 64-bit library installed" same_file "$dist/lib_mingw_492/x64/libpivro.a" "$devcpp_target/lib/libpivro.a"
check "MinGW 32-bit library installed" same_file "$dist/lib_mingw_492/x86/libpivrow.a" "$devcpp_target/lib32/libpivrow.a"
close_message

# 6. The documentation row writes the desktop shortcut.
install_at 0
check "the documentation install opens the message box" message_open
message_text msg-docs-install
check "the desktop shortcut is written" sh -c 'ls "$1"/users/*/Desktop/Pivro_Help.lnk >/dev/null 2>&1' _ "$c"
close_message

# 7. Back and forth keeps the rows and runs no second detection.
rm -f "$detection_done"
press 330 306
check "< 上一步 shows page 1" wait_for 5 page1_shown
press 330 306
check "下一步 > shows page 2 again" wait_for 5 page2_shown
sleep 4
check "no second detection" absent "$detection_done"
shot p2-again
for i in 0 1 2 3; do check "row $i is still usable" usable_at $i; done

# 8. "关闭" ends the program with exit code 0.
press 430 306
await_exit
check "关闭 exits with code 0 (got $code)" test "$code" = 0

# 9. "取消" on page 1 ends it with exit code 0.
rm -f "$detection_done"
start_wizard && wait_for 30 test -e "$detection_done" && wait_for 10 page1_shown
press 430 306
await_exit
check "取消 exits with code 0 (got $code)" test "$code" = 0

# 10. The close box (here without a window manager: the message a manager
#     sends when its close box is clicked) ends it from the window thread
#     with exit code 0.
rm -f "$detection_done"
start_wizard && wait_for 30 test -e "$detection_done" && wait_for 10 page1_shown
sleep 0.5
/usr/bin/python3 "$top/app/tests/close_window.py" "$id"
await_exit
check "the close command exits with code 0 (got $code)" test "$code" = 0

echo "screenshots: $art"
echo "$passed passed, $failed failed"
[ $failed = 0 ]
