#!/bin/sh
# lumirune-convert against jp2a on one 300 x 300 photograph-like JPEG, each as a whole process
# writing its page to a new file (the page is removed before each run, untimed).
# Needs the build (scripts/build), and jp2a, ImageMagick and hyperfine (scripts/bootstrap test).
set -eu
tools="hyperfine jp2a"
. "$(dirname "$0")/workdir.sh"
hyperfine -N --warmup 5 --runs "${RUNS:-100}" --prepare 'rm -f photo1.htm jp2a.htm' \
    "$convert_exe photo.jpg" \
    'jp2a --html --colors --width=300 photo.jpg --output=jp2a.htm'
"$convert_exe" photo.jpg >/dev/null
jp2a --html --colors --width=300 photo.jpg --output=jp2a.htm
echo "page sizes: lumirune-convert $(wc -c <photo1.htm) bytes, jp2a $(wc -c <jp2a.htm) bytes"
