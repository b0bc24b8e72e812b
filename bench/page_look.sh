#!/bin/sh
# How pages look in real browsers. A photograph-like picture of 300 x 300 (a white frame round
# it marks where the picture lies on the page) is converted with each set of options below; each
# page is drawn by headless Chromium and Firefox, the capture cut to the picture and scaled back
# to 300 x 300. Printed for each: SSIM (grey) against the picture, the drawn aspect of one pixel
# (width / height, 1 is square) and the page's bytes.
#   bench/page_look.sh            measures; skipped when a browser or numpy is missing
#   bench/page_look.sh --install  first installs chromium, firefox-esr and python3-numpy (as root)
# Not part of the test run: each capture takes a browser 10 to 30 seconds.
set -eu
if [ "${1:-}" = --install ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        chromium firefox-esr python3-numpy imagemagick
fi
# Debian's python3 has Debian's numpy, whatever python3 comes first on the PATH.
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
for tool in chromium firefox-esr; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$(basename "$0"): skipped, $tool is not installed ($(basename "$0") --install installs it)"
        exit 0
    fi
done
if ! "$python" -c 'import numpy' 2>/dev/null; then
    echo "$(basename "$0"): skipped, numpy is not installed ($(basename "$0") --install installs it)"
    exit 0
fi
. "$(dirname "$0")/workdir.sh"

# Smooth shading, soft edges and a few hard ones, as in a photograph; then the frame.
convert -size 300x300 -seed 7 plasma:fractal -blur 0x4 -auto-level \
    -fill '#30402080' -draw 'circle 200,190 200,250' -fill '#F0E0C0A0' -draw 'polygon 20,40 120,20 90,130' \
    -shave 1x1 -bordercolor white -border 1x1 picture.png

# Draws page.htm in a browser into capture.png, in a window of $1 x $1 pixels.
capture()
{
    profile=$(mktemp -d "$work/profile.XXXXXX")
    rm -f capture.png
    case $browser in
    chromium)
        timeout 300 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
            --disable-background-networking --disable-component-update --disable-sync \
            --user-data-dir="$profile" --hide-scrollbars --window-size="$1,$1" \
            --screenshot="$work/capture.png" "file://$work/page.htm" >browser.log 2>&1 || true
        ;;
    firefox-esr)
        timeout 300 firefox-esr --headless --no-remote -profile "$profile" --window-size="$1,$1" \
            --screenshot "$work/capture.png" "file://$work/page.htm" >browser.log 2>&1 || true
        ;;
    esac
    rm -rf "$profile"
    [ -s capture.png ]
}

# Reads capture.png and picture.png: prints SSIM, aspect and whether the picture reached the
# capture's edge (then the window was too small).
measure()
{
    convert capture.png -depth 8 rgb:capture.rgb
    convert picture.png -depth 8 rgb:picture.rgb
    size=$(identify -format '%w %h' capture.png)
    # shellcheck disable=SC2086 # width and height, two arguments
    "$python" - $size <<'PY'
import sys
import numpy as np

width, height = int(sys.argv[1]), int(sys.argv[2])
shot = np.fromfile("capture.rgb", np.uint8).reshape(height, width, 3).astype(np.float64)
picture = np.fromfile("picture.rgb", np.uint8).reshape(300, 300, 3).astype(np.float64)

def grey(rgb):
    return rgb @ np.array([0.299, 0.587, 0.114])

# The frame's ink: every row of the picture reaches across it; the credit line below does not.
ink = np.abs(shot - shot[-1, -1]).sum(axis=2) > 60
left = np.where(ink.any(axis=1), np.argmax(ink, axis=1), width)
right = np.where(ink.any(axis=1), width - 1 - np.argmax(ink[:, ::-1], axis=1), -1)
rows = np.nonzero(right - left >= 0.5 * (right - left).max())[0]
top, bottom = rows[0], rows[-1] + 1
x0, x1 = left[rows].min(), right[rows].max() + 1
aspect = ((x1 - x0) / 300) / ((bottom - top) / 300)
cut = grey(shot[top:bottom, x0:x1])

# Area averages over 300 x 300 cells of the cut.
def shrink(image, n=300):
    ys = np.linspace(0, image.shape[0], n + 1)
    xs = np.linspace(0, image.shape[1], n + 1)
    sums = np.cumsum(np.cumsum(np.pad(image, ((1, 0), (1, 0))), 0), 1)
    def at(y, x):  # sums at fractional bounds, by the nearest whole ones
        return sums[np.rint(y).astype(int)][:, np.rint(x).astype(int)]
    total = at(ys, xs)
    area = np.outer(np.diff(np.rint(ys)), np.diff(np.rint(xs)))
    return (total[1:, 1:] - total[:-1, 1:] - total[1:, :-1] + total[:-1, :-1]) / area

# SSIM as Wang et al. define it: 11 x 11 Gaussian windows of sigma 1.5.
def ssim(a, b):
    g = np.exp(-0.5 * (np.arange(11) - 5) ** 2 / 1.5 ** 2)
    g /= g.sum()
    def blur(x):
        x = np.apply_along_axis(lambda r: np.convolve(r, g, "valid"), 0, x)
        return np.apply_along_axis(lambda r: np.convolve(r, g, "valid"), 1, x)
    c1, c2 = (0.01 * 255) ** 2, (0.03 * 255) ** 2
    ma, mb = blur(a), blur(b)
    va, vb, cov = blur(a * a) - ma ** 2, blur(b * b) - mb ** 2, blur(a * b) - ma * mb
    return (((2 * ma * mb + c1) * (2 * cov + c2)) / ((ma ** 2 + mb ** 2 + c1) * (va + vb + c2))).mean()

edge = x1 >= width - 2 or bottom >= height - 2
print(f"{ssim(shrink(cut), grey(picture)):.3f} {aspect:.3f} {int(edge)}")
PY
}

printf '%-28s %-12s %6s %7s %9s\n' page browser SSIM aspect bytes
while IFS='|' read -r name options; do
    # shellcheck disable=SC2086
    if ! "$convert_exe" --seed 1 $options -o page.htm picture.png >/dev/null 2>convert.log; then
        printf '%-28s skipped: %s\n' "$name" "$(head -n 1 convert.log)"
        continue
    fi
    bytes=$(wc -c <page.htm)
    for browser in chromium firefox-esr; do
        result="capture failed"
        for window in 4000 8000 16000; do
            capture "$window" || break
            # shellcheck disable=SC2046 # SSIM, aspect and the edge flag
            set -- $(measure)
            result=$(printf '%6s %7s' "$1" "$2")
            [ "$3" = 0 ] && break
            result="$result (cut off at $window)"
        done
        printf '%-28s %-12s %s %9s\n' "$name" "$browser" "$result" "$bytes"
    done
done <<'ROWS'
default|
square, two characters|--square
square, one character|--square --single
fill|--fill
fill and square|--fill --square
ROWS
