#!/bin/sh
# Makes the committed PNG icons from the SVG (Debian package librsvg2-bin). Run after editing it.
set -eu
cd "$(dirname "$0")"
for size in 48 256; do
    rsvg-convert -w $size -h $size io.github.lumirune.Lumirune.svg -o lumirune-$size.png
done
