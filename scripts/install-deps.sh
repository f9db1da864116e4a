#!/usr/bin/env bash
# Installs everything Pictavo needs to build and test on Debian 12.
# Idempotent: run it as often as you like (as root, or through sudo).
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
  exec sudo -E bash "$0" "$@"
fi

export DEBIAN_FRONTEND=noninteractive

# Wine runs the 32-bit screen saver; it needs the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

packages=(
  # toolchains
  build-essential cmake ninja-build pkg-config clang lld libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  # the same Windows build for 64-bit x86, whose Wine tests run where 32-bit code cannot
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  # test and benchmark frameworks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # image libraries for the Linux build
  libjpeg62-turbo-dev libpng-dev libtiff-dev zlib1g-dev
  # the Linux desktop host
  libfltk1.3-dev libx11-dev libxext-dev libxfixes-dev
  # end-to-end tests: a virtual display, input, screenshots, Wine
  xvfb xdotool x11-utils x11-apps imagemagick wine wine32 wine64 libxml2-utils
  # a window manager, to look at the desktop host's dialogs as a desktop shows them
  openbox
  # Wine's own fonts: MS Sans Serif and the other faces the windows name, with Windows' metrics
  fonts-wine
  # reference decoders and writers for the decoder tests and the comparison of the
  # Windows build's decoding with the Linux build's (a Python script)
  libjpeg-turbo-progs libtiff-tools netpbm graphicsmagick ghostscript python3-ezdxf libwmf-bin libwpg-tools
  python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ -n "${need_update:-}" ] || [ ! -f /var/lib/apt/periodic/pictavo-updated ] ; then
    apt-get update -q
    mkdir -p /var/lib/apt/periodic && touch /var/lib/apt/periodic/pictavo-updated
  fi
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
echo "install-deps: all ${#packages[@]} packages present"
