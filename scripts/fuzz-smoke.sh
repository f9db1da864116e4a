#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz", clang) and runs each for a short
# while, seeded with the sample files. Crash inputs land in build/fuzz/crashes/;
# keep the small ones as regression tests under tests/imaging/regressions/.
# Usage: scripts/fuzz-smoke.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
samples=${PICTAVO_SAMPLES_DIR:-}
for candidate in ../shared/samples ../../shared/samples; do
  if [ -z "$samples" ] && [ -d "$candidate" ]; then samples=$candidate; fi
done

cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target bmp_fuzzer tga_fuzzer pcx_fuzzer dcx_fuzzer utah_rle_fuzzer

declare -A seeds=([bmp]="bmp dib malformed" [tga]="tga" [pcx]="pcx malformed" [dcx]="dcx" [utah_rle]="")
status=0
for target in bmp tga pcx dcx utah_rle; do
  corpus=build/fuzz/corpus/$target
  crashes=build/fuzz/crashes/$target
  mkdir -p "$corpus" "$crashes"
  if [ -n "$samples" ]; then
    for folder in ${seeds[$target]}; do
      find "$samples/$folder" -maxdepth 1 -type f ! -name '*.png' ! -name '*.txt' -exec cp -n {} "$corpus/" \; 2>/dev/null || true
    done
  fi
  # No Utah RLE samples exist; netpbm writes a seed.
  if [ "$target" = utah_rle ] && [ -n "$samples" ] && command -v pnmtorle >/dev/null; then
    pngtopnm "$samples/hopper.png" 2>/dev/null | pnmscale -width 32 2>/dev/null | pnmtorle > "$corpus/hopper.rle" 2>/dev/null || true
  fi
  echo "== ${target}_fuzzer for ${seconds}s"
  if ! build/fuzz/fuzz/${target}_fuzzer "$corpus" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
      -rss_limit_mb=2560 -artifact_prefix="$crashes/" -print_final_stats=1 2>&1 | tail -n 12; then
    status=1
  fi
done
exit $status
