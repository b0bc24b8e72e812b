#!/bin/sh
# A batch of 100 pictures of 300 x 300 through lumirune-convert, one at a time (-j 1) and two at a
# time (-j 2), and through a shell loop of jp2a: pictures per second and MB/s of pages written.
# Needs the build (scripts/build), and jp2a, ImageMagick and hyperfine (scripts/bootstrap test).
set -eu
tools="hyperfine jp2a python3"
. "$(dirname "$0")/workdir.sh"
pictures=
for i in $(seq 1 100); do
    cp photo.jpg "p$i.jpg"
    pictures="$pictures p$i.jpg"
done
hyperfine -N --warmup 1 --runs "${RUNS:-10}" --prepare 'find . -name "p*.htm" -delete' --export-json batch.json \
    "$convert_exe -j 1 $pictures" \
    "$convert_exe -j 2 $pictures" \
    "sh -c 'for f in p*.jpg; do jp2a --html --colors --width=300 \$f --output=\${f%.jpg}.htm; done'" >/dev/null
find . -name "p*.htm" -delete
"$convert_exe" -j 1 $pictures >/dev/null
converted=$(cat p*.htm | wc -c)
find . -name "p*.htm" -delete
sh -c 'for f in p*.jpg; do jp2a --html --colors --width=300 $f --output=${f%.jpg}.htm; done'
looped=$(cat p*.htm | wc -c)
python3 - "$converted" "$looped" <<'PY'
import json, sys
converted, looped = int(sys.argv[1]), int(sys.argv[2])
runs = json.load(open("batch.json"))["results"]
names = ["lumirune-convert -j 1", "lumirune-convert -j 2", "jp2a, a shell loop"]
sizes = [converted, converted, looped]
for name, run, size in zip(names, runs, sizes):
    mean = run["mean"]
    print(f"{name:24} {mean:7.3f} s  {100 / mean:7.1f} pictures/s  {size / mean / 1e6:6.1f} MB/s")
j1, j2, loop = (run["mean"] for run in runs)
print(f"-j 2 takes {j2 / j1:.2f} of -j 1; -j 2 takes {j2 / loop:.2f} of the jp2a loop")
PY
