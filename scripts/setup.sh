#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, and fetches
# Nuklear into build/_deps. A second run with everything present touches no
# network and takes seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD

say() { printf 'setup: %s\n' "$*"; }
die() { printf 'setup: %s\n' "$*" >&2; exit 1; }

# Debian packages -----------------------------------------------------------
packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  mingw-w64-tools cmake ninja-build googletest wine wine64 wine32:i386
  xvfb xauth fonts-wqy-microhei imagemagick xdotool python3-xlib clang-format)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  [ "$(id -u)" = 0 ] || die "missing packages (${missing[*]}); run this script as root to install them"
  say "installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q || die "apt-get update failed: is the Debian mirror reachable?"
  apt-get install -y -q --no-install-recommends "${missing[@]}" \
    || die "could not install ${missing[*]}"
fi

# Nuklear, from Debian's glfw3 source package --------------------------------
deps=$top/build/_deps
nuklear=$deps/glfw-3.4/deps/nuklear.h
tarball_sha=c038d34200234d071fae9345bc455e4a8f2f544ab60150765d7704e08f3dac01
if [ ! -f "$nuklear" ]; then
  d=$deps/apt
  mkdir -p "$d/lists/partial" "$d/cache/archives/partial" "$d/src"
  tarball=$d/src/glfw3_3.4.orig.tar.gz
  if ! { [ -f "$tarball" ] && echo "$tarball_sha  $tarball" | sha256sum -c --quiet - 2>/dev/null; }; then
    uri=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    [ -n "$uri" ] || uri=$(awk '/^deb /{print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)
    [ -n "$uri" ] || die "no Debian mirror found in the apt configuration; cannot fetch Nuklear"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri trixie main" >"$d/sources.list"
    O=(-o "Dir::Etc::SourceList=$d/sources.list" -o Dir::Etc::SourceParts=/nonexistent
       -o "Dir::State::Lists=$d/lists" -o "Dir::Cache=$d/cache" -o Debug::NoLocking=1)
    say "fetching the glfw3 3.4-3 source package for nuklear.h"
    apt-get "${O[@]}" update -q >/dev/null || die "could not read the source index of the mirror"
    (cd "$d/src" && apt-get "${O[@]}" source --download-only glfw3=3.4-3 >/dev/null) \
      || die "could not download the glfw3 3.4-3 source package"
  fi
  echo "$tarball_sha  $tarball" | sha256sum -c --quiet - \
    || die "checksum of $tarball does not match; refusing to use it"
  tar -xzf "$tarball" -C "$deps" glfw-3.4/deps/nuklear.h || die "nuklear.h missing from the tarball"
fi
[ -f "$nuklear" ] || die "nuklear.h missing at $nuklear"
say "ready"
