#!/bin/sh
# Peak memory (maximum resident set, GNU time) of lumirune-convert: one 300 x 300 JPEG, one
# camera-sized 4000 x 3000 JPEG (cut to the box, and shrunk into it with --fit), and a batch of 20
# pictures in one process, one at a time and two at a time.
# Needs the build (scripts/build), ImageMagick and GNU time (scripts/bootstrap test).
set -eu
tools="/usr/bin/time"
. "$(dirname "$0")/workdir.sh"
convert -size 4000x3000 -seed 3 plasma:fractal camera.jpg
for i in $(seq 1 20); do cp photo.jpg "batch$i.jpg"; done
peak() {
    /usr/bin/time -f %M "$convert_exe" "$@" 2>&1 >/dev/null | tail -n 1
}
echo "lumirune-convert peak memory: 300 x 300 JPEG $(peak photo.jpg) KiB," \
    "4000 x 3000 JPEG $(peak camera.jpg) KiB, with --fit $(peak --fit camera.jpg) KiB," \
    "20 pictures in one run $(peak -j 1 batch*.jpg) KiB, two at a time $(peak -j 2 batch*.jpg) KiB"
