#!/bin/sh
# lumirune-convert against jp2a on one 300 x 300 photograph-like JPEG, each as a whole process
# writing its page to a new file. Prints the median wall time of each over RUNS runs.
# Needs the build (scripts/build), jp2a and ImageMagick (scripts/bootstrap installs both).
set -eu
cd "$(dirname "$0")/.."
convert_exe=build/src/cli/lumirune-convert
runs=${RUNS:-41}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 300x300 -seed 3 plasma:fractal "$work/photo.jpg"

# Median wall time in microseconds of "$@", removing the page between runs (not timed).
median_us() {
    page=$1
    shift
    i=0
    : >"$work/times"
    while [ $i -lt "$runs" ]; do
        rm -f "$page"
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        echo $(((end - start) / 1000)) >>"$work/times"
        i=$((i + 1))
    done
    sort -n "$work/times" | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'
}

# Both run through sh -c so that each pays the same shell start.
ours=$(median_us "$work/photo1.htm" sh -c "'$convert_exe' '$work/photo.jpg'")
theirs=$(median_us "$work/jp2a.htm" sh -c "jp2a --html --colors --width=300 '$work/photo.jpg' >'$work/jp2a.htm'")
shell=$(median_us "$work/none" sh -c true)
"$convert_exe" -o "$work/ours.htm" "$work/photo.jpg" >/dev/null
jp2a --html --colors --width=300 "$work/photo.jpg" >"$work/theirs.htm"
printf 'lumirune-convert: %6d us median of %d, page %d bytes\n' "$ours" "$runs" "$(wc -c <"$work/ours.htm")"
printf 'jp2a --html:      %6d us median of %d, page %d bytes\n' "$theirs" "$runs" "$(wc -c <"$work/theirs.htm")"
printf '(starting sh -c alone: %d us)\n' "$shell"
