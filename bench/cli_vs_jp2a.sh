#!/bin/sh
# lumirune-convert against jp2a on one 300 x 300 photograph-like JPEG, each as a whole process at
# one character a pixel, writing its page to a new file (removed before each run, untimed); then
# the same picture as BMP, PNG and GIF, which should take about as long as the JPEG.
# Needs the build (scripts/build), and jp2a, ImageMagick and hyperfine (scripts/bootstrap test).
set -eu
tools="hyperfine jp2a"
. "$(dirname "$0")/workdir.sh"
hyperfine -N --warmup 5 --runs "${RUNS:-100}" --prepare 'rm -f photo1.htm jp2a.htm' --export-json peer.json \
    "$convert_exe --single photo.jpg" \
    'jp2a --html --colors --width=300 photo.jpg --output=jp2a.htm'
python3 -c 'import json; a, b = (r["median"] for r in json.load(open("peer.json"))["results"])
print(f"medians: lumirune-convert {a * 1e3:.1f} ms, jp2a {b * 1e3:.1f} ms: {a / b:.2f} of its time")'
"$convert_exe" --single photo.jpg >/dev/null
jp2a --html --colors --width=300 photo.jpg --output=jp2a.htm
echo "page sizes: lumirune-convert $(wc -c <photo1.htm) bytes, jp2a $(wc -c <jp2a.htm) bytes"
for format in bmp png gif; do convert photo.jpg "photo.$format"; done
hyperfine -N --warmup 5 --runs "${RUNS:-100}" --prepare 'rm -f photo1.htm' --export-json formats.json \
    "$convert_exe --single photo.jpg" "$convert_exe --single photo.bmp" \
    "$convert_exe --single photo.png" "$convert_exe --single photo.gif"
python3 -c 'import json; m = [r["median"] for r in json.load(open("formats.json"))["results"]]
print("medians against JPEG:", ", ".join(f"{f} {t / m[0]:.2f}" for f, t in zip(["JPEG", "BMP", "PNG", "GIF"], m)))'
