#!/usr/bin/env bash
# Renders every transition effect as a small animated GIF for docs/effects/,
# with pictavo-render and ImageMagick's convert.
# usage: scripts/make_effect_gallery.sh [path/to/pictavo-render] [WxH]
set -euo pipefail

render=${1:-build/linux/src/app/pictavo-render}
size=${2:-160x120}
frames_wanted=24       # about this many frames (up to twice as many) per animation
frame_delay=8          # hundredths of a second between frames
hold=120               # the finished slide stays this long before the loop starts again
out=docs/effects

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

for effect in $(seq 0 42); do
    summary=$("$render" transition --effect "$effect" --size "$size")
    name=${summary%% *}
    pauses=$(sed -n 's/.*: \([0-9]*\) pauses.*/\1/p' <<<"$summary")
    every=$(( pauses / frames_wanted ))
    (( every >= 1 )) || every=1
    rm -rf "$work/frames"
    "$render" transition --effect "$effect" --size "$size" --frames "$work/frames" --every "$every" >/dev/null
    mapfile -t frames < <(ls "$work/frames"/*.png | sort)
    last=${frames[${#frames[@]}-1]}
    unset 'frames[${#frames[@]}-1]'
    file=$(printf '%s/%02d-%s.gif' "$out" "$effect" "$name")
    convert -delay "$frame_delay" "${frames[@]}" -delay "$hold" "$last" -loop 0 \
        +dither -colors 16 -layers Optimize "$file"
    echo "$file: $pauses pauses, every $every-th, ${#frames[@]} frames + end"
done
du -sh "$out"
