# Shared by the Wine test scripts (source it): which Wine loader runs a given
# Windows program, whether this machine can run it at all, and a prefix made
# once and shared by every test of a build.

# The machine a PE file was built for: i386, x86_64 or unknown.
pe_machine() {
  local file=$1 header machine
  header=$(od -An -tu4 -j60 -N4 "$file" 2>/dev/null | tr -d ' ')
  [ -n "$header" ] || { echo unknown; return; }
  machine=$(od -An -tx2 -j$((header + 4)) -N2 "$file" 2>/dev/null | tr -d ' ')
  case $machine in
    014c) echo i386 ;;
    8664) echo x86_64 ;;
    *) echo unknown ;;
  esac
}

# The loader for file. 64-bit programs go straight to the 64-bit loader: the
# `wine` wrapper would try the 32-bit one first.
wine_loader_for() {
  if [ "$(pe_machine "$1")" = x86_64 ]; then
    if [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64; return; fi
    if command -v wine64 >/dev/null 2>&1; then command -v wine64; return; fi
  fi
  echo wine
}

# Whether the loader starts here. 32-bit Wine needs a kernel that runs 32-bit
# x86 code; some sandboxes refuse it ("Exec format error").
wine_loader_works() {
  "$1" --version >/dev/null 2>&1
}

# Makes prefix (once, under a lock, so parallel tests wait for each other).
# With a graphics driver name ("null"), windows need no X display.
wine_prepare_prefix() {
  local prefix=$1 loader=$2 driver=${3:-}
  mkdir -p "$prefix"
  (
    flock 9
    [ -f "$prefix/.pictavo-ready" ] && exit 0
    # No Mono or Gecko installer prompts while the prefix is made.
    WINEPREFIX=$prefix WINEDLLOVERRIDES="mscoree,mshtml=" "$loader" wineboot -i >/dev/null 2>&1 || exit 1
    if [ -n "$driver" ]; then
      WINEPREFIX=$prefix "$loader" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$driver" /f \
        >/dev/null 2>&1 || exit 1
    fi
    WINEPREFIX=$prefix wineserver -w
    touch "$prefix/.pictavo-ready"
  ) 9>"$prefix.lock"
}
