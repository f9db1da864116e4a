#!/usr/bin/env bash
# Runs a cross-built test program under Wine: the emulator CMake puts in
# front of every Windows test. Usage: wine-run.sh --prefix DIR program [args]
#
# The prefix belongs to the build tree, so tests never touch ~/.wine, and it
# uses Wine's null display driver: windows exist and take messages without
# an X server. Exits 77 (a skipped test) when this machine cannot run the
# program's Wine at all.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-common.sh"

[ "${1:-}" = --prefix ] || { echo "usage: wine-run.sh --prefix DIR program [args]" >&2; exit 2; }
prefix=$2
program=$3
shift 3

loader=$(wine_loader_for "$program")
if ! wine_loader_works "$loader"; then
  echo "SKIPPED: $(pe_machine "$program") Windows programs cannot run here: '$loader' does not start" \
    "(a 32-bit program needs a kernel that runs 32-bit x86 code; the windows64 preset builds one that runs)" >&2
  exit 77
fi

export WINEDEBUG=${WINEDEBUG:--all}
# Wine keeps its server's socket folder under TMPDIR: beside the prefix in the
# build tree, not one more folder in /tmp for every run.
mkdir -p "$prefix.tmp"
export TMPDIR=$prefix.tmp
[ "$loader" = wine ] || export WINELOADER=$loader
if ! wine_prepare_prefix "$prefix" "$loader" null; then
  echo "cannot make the Wine prefix $prefix" >&2
  exit 1
fi
WINEPREFIX=$prefix exec "$loader" "$program" "$@"
