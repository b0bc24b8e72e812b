# Sourced by the benchmark scripts: a scratch folder, removed on exit, holding one 300 x 300
# photograph-like JPEG, photo.jpg; convert_exe is the converter of the normal build.
cd "$(dirname "$0")/.."
convert_exe=$PWD/build/src/cli/lumirune-convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
convert -size 300x300 -seed 3 plasma:fractal photo.jpg
