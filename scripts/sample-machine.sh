#!/usr/bin/env bash
# Lays out a sample machine in a Wine prefix: Visual C++ 2015 and 2019,
# Dev-C++ 5.11 with its bundled 64-bit MinGW, CLion with its bundled MinGW,
# and Code::Blocks with a classic MinGW 6.3.0 (a refused toolchain), made
# of the stand-in compilers that the test build produces. Only folders under
# the prefix's drive C and its registry are written.
#   sample-machine.sh <build folder>     (WINEPREFIX names the prefix)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: sample-machine.sh <build folder>}
fixtures=$build/tests/fixtures
for f in cl_19.29/cl.exe cl_19.0/cl.exe gcc/gcc.exe devcpp511/devcpp.exe gcc-v/tdm-gcc-4.9.2-tdm64-1.txt; do
  [ -f "$fixtures/$f" ] || { echo "sample-machine: $fixtures/$f is missing; build the tests first" >&2; exit 1; }
done
c=$WINEPREFIX/drive_c
[ -d "$c" ] || { echo "sample-machine: no prefix at $WINEPREFIX" >&2; exit 1; }

mkdirs() { for d in "$@"; do mkdir -p "$d"; done; }

# Visual Studio 2019 Community: the 2017+ layout, one toolset.
vs2019="$c/Program Files (x86)/Microsoft Visual Studio/2019/Community"
mkdirs "$vs2019/VC/Tools/MSVC/14.29.30133/bin/Hostx86/x86" "$vs2019/VC/Auxiliary/VS/include" \
  "$vs2019/VC/Auxiliary/VS/lib/x86" "$vs2019/VC/Auxiliary/VS/lib/x64" "$vs2019/VC/Auxiliary/Build" \
  "$vs2019/VC/Tools/MSVC/14.29.30133/include" "$vs2019/VC/Tools/MSVC/14.29.30133/lib/x86" \
  "$vs2019/VC/Tools/MSVC/14.29.30133/lib/x64"
cp "$fixtures/cl_19.29/cl.exe" "$vs2019/VC/Tools/MSVC/14.29.30133/bin/Hostx86/x86/cl.exe"
printf '14.29.30133\r\n' >"$vs2019/VC/Auxiliary/Build/Microsoft.VCToolsVersion.default.txt"

# Visual C++ 2015: the VC folder layout.
vs2015="$c/Program Files (x86)/Microsoft Visual Studio 14.0/VC"
mkdirs "$vs2015/bin" "$vs2015/include" "$vs2015/lib/amd64"
cp "$fixtures/cl_19.0/cl.exe" "$vs2015/bin/cl.exe"

# A MinGW made of the gcc stand-in and a canned report:  mingw <folder> <report> [target]
mingw() {
  local folder=$1 report=$2 target=${3:-x86_64-w64-mingw32}
  mkdirs "$folder/bin" "$folder/$target/include" "$folder/$target/lib" "$folder/$target/lib32"
  cp "$fixtures/gcc/gcc.exe" "$folder/bin/gcc.exe"
  cp "$fixtures/gcc-v/$report" "$folder/bin/gcc-v.txt"
}

# Dev-C++ 5.11 with TDM-GCC 4.9.2.
devcpp="$c/Program Files (x86)/Dev-Cpp"
mkdirs "$devcpp"
cp "$fixtures/devcpp511/devcpp.exe" "$devcpp/devcpp.exe"
printf 'sample uninstaller\r\n' >"$devcpp/uninstall.exe"
mingw "$devcpp/MinGW64" tdm-gcc-4.9.2-tdm64-1.txt

# CLion with its bundled MinGW under bin\mingw (GCC 14.2, msvcrt).
clion="$c/Program Files/JetBrains/CLion 2024.1.4"
mingw "$clion/bin/mingw" msys2-mingw64-14.2.0.txt
printf 'sample runtime\r\n' >"$clion/bin/mingw/bin/libgcc_s_seh-1.dll"

# Code::Blocks with a classic MinGW 6.3.0: too old for any library build.
codeblocks="$c/Program Files/CodeBlocks"
mingw "$codeblocks/MinGW" mingw-org-6.3.0-1.txt mingw32
printf 'sample runtime\r\n' >"$codeblocks/MinGW/bin/libgcc_s_dw2-1.dll"

# Registry entries as the installers write them. The program is 32-bit, so
# its view of HKLM\Software is the Wow6432Node tree; the keys are written in
# the 64-bit view (/reg:64) under their literal Wow6432Node names, since a
# 32-bit reg.exe would nest a second Wow6432Node.
add() { wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f /reg:64 >/dev/null 2>&1 || { echo "sample-machine: cannot write $1\\$2" >&2; exit 1; }; }
uninstall='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall'
add "$uninstall\c76fc08c" DisplayName 'Visual Studio Community 2019'
add "$uninstall\c76fc08c" InstallLocation 'C:\Program Files (x86)\Microsoft Visual Studio\2019\Community'
vc7='HKLM\Software\Wow6432Node\Microsoft\VisualStudio\SxS\VC7'
add "$vc7" 14.0 'C:\Program Files (x86)\Microsoft Visual Studio 14.0\VC\'
add "$vc7" FrameworkDir32 'C:\Windows\Microsoft.NET\Framework\'
add "$vc7" FrameworkVer32 'v4.0.30319'
add "$uninstall\Dev-C++" DisplayName 'Dev-C++'
add "$uninstall\Dev-C++" UninstallString 'C:\Program Files (x86)\Dev-Cpp\uninstall.exe'
add "$uninstall\CLion 2024.1.4" DisplayName 'CLion 2024.1.4'
add "$uninstall\CLion 2024.1.4" InstallLocation 'C:\Program Files\JetBrains\CLion 2024.1.4'
add 'HKCU\Software\CodeBlocks' Path 'C:\Program Files\CodeBlocks'
echo "sample-machine: laid out in $WINEPREFIX"
