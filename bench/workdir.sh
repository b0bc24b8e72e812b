# Sourced by the benchmark scripts: a scratch folder, removed on exit, holding one 300 x 300
# photograph-like JPEG, photo.jpg; convert_exe is the converter of the normal build.
# A benchmark whose tools (listed in tools) are not installed is skipped, not failed: they are
# optional, installed by ./scripts/bootstrap test.
for tool in ${tools:-} convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$(basename "$0"): skipped, $tool is not installed (./scripts/bootstrap test installs it)"
        exit 0
    fi
done
cd "$(dirname "$0")/.."
convert_exe=$PWD/build/src/cli/lumirune-convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
convert -size 300x300 -seed 3 plasma:fractal photo.jpg
