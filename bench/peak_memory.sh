#!/bin/sh
# Peak memory (maximum resident set, GNU time) of lumirune-convert: one 300 x 300 JPEG, one
# camera-sized 4000 x 3000 JPEG, and a batch of 20 pictures in one process.
# Needs the build (scripts/build), ImageMagick and GNU time (scripts/bootstrap).
set -eu
cd "$(dirname "$0")/.."
convert_exe=$PWD/build/src/cli/lumirune-convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
convert -size 300x300 -seed 3 plasma:fractal photo.jpg
convert -size 4000x3000 -seed 3 plasma:fractal camera.jpg
for i in $(seq 1 20); do cp photo.jpg "batch$i.jpg"; done
peak() {
    /usr/bin/time -f %M "$convert_exe" "$@" 2>&1 >/dev/null | tail -n 1
}
echo "lumirune-convert peak memory: 300 x 300 JPEG $(peak photo.jpg) KiB," \
    "4000 x 3000 JPEG $(peak camera.jpg) KiB, 20 pictures in one run $(peak batch*.jpg) KiB"
