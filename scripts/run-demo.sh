#!/usr/bin/env bash
# Builds Pictavo and runs the screen saver full screen on the bundled demo
# pictures. Your own settings are not touched: the demo keeps its settings
# in build/demo-config. Move the mouse or press a key to end the show.
# Without a display, the headless renderer plays 60 s of the show into
# build/demo-frames instead.
set -euo pipefail
cd "$(dirname "$0")/.."

# What building and running the program needs, not the test tools; the
# script says in one line what it installed or why it could not.
bash scripts/install-deps.sh --run
# The one program the demo runs, nothing else: the saver on a display, the
# renderer without one (the "app" preset has no tests or benchmarks).
program=pictavo-render
[ -z "${DISPLAY:-}" ] || program=pictavo
cmake --preset app >/dev/null
cmake --build --preset app --target "$program"

config="$PWD/build/demo-config"
mkdir -p "$config/pictavo"
cat >"$config/pictavo/settings.ini" <<INI
[Brackenfeld Applications\\Pictavo]
PicturePath=$PWD/samples
Interval=3
Speed=1
Stretch=0
INI

if [ "$program" = pictavo ]; then
  XDG_CONFIG_HOME="$config" exec build/app/bin/pictavo /s
fi
mkdir -p build/demo-frames
build/app/bin/pictavo-render show --folder samples --size 1024x768 --seconds 60 --interval 3 \
  --out-dir build/demo-frames --trace build/demo-frames/trace.txt
echo "No display: the show's slides are in build/demo-frames (trace.txt lists what happened)."
