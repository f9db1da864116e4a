#!/usr/bin/env bash
# Installs the Debian 12 packages Pictavo needs, in one of two sets:
#   scripts/install-deps.sh --run    building and running the Linux program
#   scripts/install-deps.sh [--test] the above and everything the tests add
# Idempotent and silent but for one line when everything is there already.
# Installing needs root (or sudo); checking does not.
#
# A mirror that is out of step must not stop a set-up whose packages can
# still be had: a failed "apt-get update" is tried once more, then apt goes
# on with the lists it has. Only a failed install stops the script, with one
# line naming the packages that are still missing and apt's reason.
set -euo pipefail

set_name="test"
case "${1:---test}" in
  --run) set_name="run" ;;
  --test) set_name="test" ;;
  *) echo "usage: $0 [--run | --test]" >&2; exit 2 ;;
esac

run_packages=(
  # compilers and build tools
  build-essential cmake ninja-build pkg-config
  # image libraries
  libjpeg62-turbo-dev libpng-dev libtiff-dev zlib1g-dev
  # the desktop host
  libfltk1.3-dev libx11-dev libxext-dev libxfixes-dev libxinerama-dev libxrandr-dev
  # EPS pictures are drawn by Ghostscript at run time
  ghostscript
)
test_packages=(
  # clang for the fuzzers, with its sanitizer runtime; clang-format checks the layout
  clang lld libclang-rt-14-dev clang-format
  # the Windows screen saver, cross-built for 32-bit x86 (shipped) and for
  # 64-bit x86, whose tests run under Wine where 32-bit code cannot run
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  # the core's tests as 32-bit x86 code, run through qemu-i386 where the
  # kernel does not run 32-bit programs
  g++-multilib qemu-user
  # test and benchmark frameworks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # end-to-end tests: a virtual display, input, screenshots, 64-bit Wine
  xvfb xdotool x11-utils x11-apps imagemagick wine wine64 libxml2-utils
  # a window manager, to look at the desktop host's dialogs as a desktop shows them;
  # a nested X server with two monitors side by side
  openbox xserver-xephyr x11-xserver-utils
  # Wine's own fonts: MS Sans Serif and the other faces the windows name, with Windows' metrics
  fonts-wine
  # reference decoders and writers for the decoder tests and the comparison of the
  # Windows build's decoding with the Linux build's (a Python script)
  libjpeg-turbo-progs libtiff-tools netpbm graphicsmagick python3-ezdxf libwmf-bin libwpg-tools
  python3
  # checking the packages: the Debian package's rules and the zip's contents
  lintian unzip desktop-file-utils
)

packages=("${run_packages[@]}")
[ "$set_name" = run ] || packages+=("${test_packages[@]}")
# Only the script's own test adds names here, to take the failing path.
# shellcheck disable=SC2206
packages+=(${PICTAVO_DEPS_EXTRA:-})

missing_packages() {  # prints the packages of $@ that are not installed
  local -A installed=()
  local name status
  # One query for all: dpkg names the packages it knows, by name without
  # architecture, and is silent about the rest.
  while IFS=$'\t' read -r status name; do
    if [ "$status" = "install ok installed" ]; then installed[$name]=1; fi
  done < <(dpkg-query -W -f='${Status}\t${Package}\n' "$@" 2>/dev/null || true)
  for name in "$@"; do
    [ -n "${installed[${name%%:*}]:-}" ] || echo "$name"
  done
}

mapfile -t missing < <(missing_packages "${packages[@]}")
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages of the $set_name set present"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || {
    echo "install-deps: missing ${missing[*]}: run this script as root to install them" >&2; exit 1; }
  exec sudo -E bash "$0" "$@"
fi
export DEBIAN_FRONTEND=noninteractive

log=$(mktemp)
trap 'rm -f "$log"' EXIT

# apt's own reason on one line: the dependencies it could not meet and its
# error lines, or its last line when it gave neither.
apt_reason() {
  local reason
  reason=$(grep -E '^E: |^ *[^ ]+ : (Pre-)?Depends: |^ *[^ ]+ : (Conflicts|Breaks): ' "$log" |
    sed -E 's/^E: //; s/^ +//; s/ +/ /g' | paste -sd ';' | sed 's/;/; /g')
  [ -n "$reason" ] || reason=$(grep -v '^[[:space:]]*$' "$log" | tail -n 1)
  echo "${reason:-apt-get gave no reason}"
}

if ! apt-get update -q >"$log" 2>&1; then
  sleep "${PICTAVO_APT_RETRY_SECONDS:-10}"
  if ! apt-get update -q >"$log" 2>&1; then
    echo "install-deps: apt-get update failed twice, going on with the package lists apt has: $(apt_reason)"
  fi
fi

# Everything is resolved and downloaded before anything is unpacked, so a
# package that cannot be had leaves the system as it was.
if apt-get install -y -q --no-install-recommends --download-only "${missing[@]}" >"$log" 2>&1 &&
  apt-get install -y -q --no-install-recommends "${missing[@]}" >"$log" 2>&1; then
  echo "install-deps: installed ${missing[*]}"
  exit 0
fi
mapfile -t still_missing < <(missing_packages "${missing[@]}")
[ ${#still_missing[@]} -gt 0 ] || still_missing=("${missing[@]}")
echo "install-deps: could not install ${still_missing[*]}: $(apt_reason)" >&2
exit 1
