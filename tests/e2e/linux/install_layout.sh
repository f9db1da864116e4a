#!/usr/bin/env bash
# "cmake --install" puts the program where Linux screen-saver hosts look
# for it: the program, xscreensaver's description of it and the desktop
# entry the GNOME-derived savers list, each naming the host's mode; and the
# settings in the desktop's menu, with the saver's icon in the icon theme.
set -euo pipefail
: "${BUILD_DIR:?the build folder}"
PREFIX=$(mktemp -d "${TMPDIR:-/tmp}/pictavo-install.XXXXXX")
trap 'rm -rf "$PREFIX"' EXIT
FAILURES=0
expect() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what" >&2; FAILURES=$((FAILURES + 1)); fi
}

cmake --install "$BUILD_DIR" --prefix "$PREFIX" >"$PREFIX/install.log" 2>&1 || { cat "$PREFIX/install.log"; exit 1; }
xml="$PREFIX/share/xscreensaver/config/pictavo.xml"
desktop="$PREFIX/share/applications/screensavers/pictavo.desktop"
expect "the program is installed" test -x "$PREFIX/bin/pictavo"
expect "so is pictavo-render" test -x "$PREFIX/bin/pictavo-render"
expect "with a manual page each, gzipped" \
    bash -c 'gzip -t "$1/share/man/man1/pictavo.1.gz" && gzip -t "$1/share/man/man1/pictavo-render.1.gz"' _ "$PREFIX"
expect "the manual page covers the host's switches" \
    bash -c 'gzip -dc "$1/share/man/man1/pictavo.1.gz" | grep -q "window\\\\-id"' _ "$PREFIX"
expect "the copyright notice is there" grep -q '^Copyright' "$PREFIX/share/doc/pictavo/copyright"
expect "xscreensaver's description is there" test -f "$xml"
expect "it is well-formed XML" xmllint --noout "$xml"
expect "it names the program and starts it on xscreensaver's window" \
    grep -q '<screensaver name="pictavo"' "$xml"
expect "with -root" grep -q '<command arg="-root"/>' "$xml"
expect "the desktop entry is there" test -f "$desktop"
expect "it starts the installed program's host mode" grep -qx 'Exec=pictavo -root' "$desktop"
expect "as a screen saver" grep -qx 'Categories=Screensaver;' "$desktop"
settings="$PREFIX/share/applications/pictavo-settings.desktop"
expect "the settings have a desktop entry of their own" test -f "$settings"
expect "a valid one" desktop-file-validate "$settings"
expect "it opens the configuration dialog" grep -qx 'Exec=pictavo /c' "$settings"
expect "from the desktop's settings" grep -qx 'Categories=Settings;DesktopSettings;' "$settings"
expect "with the saver's icon" grep -qx 'Icon=pictavo' "$settings"
for size in 16 22 24 32 48 64 128 256; do
    expect "the icon is in the hicolor theme at ${size}x${size}" \
        bash -c 'file -b "$1" | grep -q "^PNG image data, $2 x $2, 8-bit/color RGBA"' _ \
        "$PREFIX/share/icons/hicolor/${size}x${size}/apps/pictavo.png" "$size"
done
expect "and as SVG" xmllint --noout "$PREFIX/share/icons/hicolor/scalable/apps/pictavo.svg"
[ "$FAILURES" -eq 0 ] && echo "all checks passed"
exit "$FAILURES"
