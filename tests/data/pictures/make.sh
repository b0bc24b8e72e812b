#!/bin/sh
# Makes the unusual and hostile pictures beside it (run once, from anywhere; the files are
# committed). Solid blocks of known colours at known places; JPEGs keep every 8 x 8 block one
# colour at quality 100 without chroma subsampling, so they decode close to those colours.
set -eu
cd "$(dirname "$0")"
# Two blocks of one size side by side, then the remaining options and the output name.
halves() { size=$1 left=$2 right=$3; shift 3; convert -size "$size" "xc:$left" -size "$size" "xc:$right" +append "$@"; }
jpeg="-quality 100 -sampling-factor 1x1 -strip"

: >zero-bytes.jpg
echo "Not a picture: a text file with a picture's name." >text.bmp
# A bitmap header promising 100000 x 100000 pixels of 24 bits, then three of them.
printf 'BM\066\0\0\0\0\0\0\0\066\0\0\0\050\0\0\0\240\206\001\0\240\206\001\0\001\0\030\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\377\0\0\0\377\0\0\0\377' >huge-header.bmp
# A GIF whose screen is 16000 x 16000 pixels, with one red pixel drawn on it.
printf 'GIF89a\200\076\200\076\200\0\0\377\0\0\0\0\377\054\0\0\0\0\001\0\001\0\0\002\002\104\001\0\073' >huge-screen.gif

halves 8x16 blue yellow -type Palette -colors 2 BMP3:palette-1bit.bmp
# More than 16 colours (a grey ramp on the last row) make an 8-bit palette.
convert \( -size 10x19 xc:lime -size 10x19 xc:magenta +append \) \( -size 1x20 gradient: -rotate 90 \) -append \
    -type Palette BMP3:palette-8bit.bmp
halves 8x16 red blue $jpeg -interlace JPEG progressive.jpg
halves 8x16 red blue $jpeg -colorspace CMYK cmyk.jpg
# Top half red, bottom half blue, cut a third of the way through the compressed pixels (which start
# 14 bytes after the start-of-scan marker FF DA).
convert -size 16x32 xc:red -size 16x32 xc:blue -append $jpeg full.jpg
scan=$(($(LC_ALL=C grep -obUaP '\xff\xda' full.jpg | cut -d: -f1) + 14))
head -c $((scan + ($(stat -c %s full.jpg) - scan) / 3)) full.jpg >truncated.jpg && rm full.jpg
# A progressive JPEG whose header claims 30000 x 30000 pixels (bytes 0x7530 in its frame header).
halves 8x16 red blue $jpeg -interlace JPEG JPEG:- | LC_ALL=C sed 's/\xff\xc2\x00\x11\x08\x00\x10\x00\x10/\xff\xc2\x00\x11\x08\x75\x30\x75\x30/' \
    >huge-progressive.jpg
convert -size 16x8 xc:red -size 16x8 xc:lime -size 16x8 xc:blue -append -interlace GIF interlaced.gif
convert -delay 10 -size 16x16 xc:red xc:lime xc:blue -loop 0 animated.gif
halves 8x16 none red -strip PNG32:transparent.png
# Colour type 2 with a tRNS colour key: its red is transparent, though no pixel has an alpha.
halves 8x16 red blue -transparent red -strip PNG24:keyed.png
halves 8x16 none red -type PaletteMatte transparent.gif
# Beyond 300 x 300: red, an 8-pixel green column and yellow row across 296..303, blue past them.
larger() { convert \( -size 296x296 xc:red -size 8x296 xc:lime -size 16x296 xc:blue +append \) -size 320x8 xc:yellow \
    -size 320x16 xc:blue -append "$@"; }
larger $jpeg larger.jpg
larger -strip PNG24:larger.png
larger -strip -compress lzw TIFF:larger.tif
printf 'GIF89a\140\011\140\011\200\0\0\377\0\0\0\0\377\054\0\0\0\0\001\0\001\0\0\002\002\104\001\0\073' >wide-screen.gif

# Bitmaps of every kind the picture box reads, each a colour ramp (so that each channel's every
# value is met) beside blocks of one colour.
ramp() { convert -size 32x8 gradient:red-blue \( -size 32x8 gradient:lime-black \) -append \( -size 32x4 xc:yellow \) -append "$@"; }
halves 4x8 "#123456" "#ABCDEF" -size 4x8 xc:"#FEDCBA" +append -type Palette BMP3:palette-4bit.bmp
# An odd width, 9: each row's last byte holds one pixel, and its five bytes are padded to eight.
halves 3x8 "#123456" "#ABCDEF" -size 3x8 xc:"#FEDCBA" +append -type Palette BMP3:palette-4bit-odd.bmp
# 8 x 4 pixels at 4 bits in runs (of two colours alternating) and literal pixels, by hand as
# ImageMagick writes no RLE4: headers, three colours, then the rows from the bottom up.
echo 424d5e0000000000000042000000 28000000080000000400000001000400020000001c00000000000000000000000300000000000000 \
    302010000000ff00ff000000 0812000000051201200003110000 022206100000 0008210210120001 | xxd -r -p >rle-4bit.bmp
ramp -type Palette -compress RLE BMP3:rle-8bit.bmp
# A colour table after a version 5 header.
halves 4x8 "#123456" "#ABCDEF" -size 4x8 xc:"#FEDCBA" +append -type Palette BMP:palette-v5.bmp
ramp -define bmp:subtype=RGB555 BMP:rgb555.bmp
ramp -define bmp:subtype=RGB565 BMP:rgb565.bmp
ramp -type TrueColor BMP3:rgb-24bit.bmp
ramp -type TrueColor BMP2:os2.bmp
ramp -alpha set -channel A -fx 'i/w' +channel BMP:alpha-32bit.bmp
# Rows stored top first: the file of a flipped ramp with its height made negative.
ramp -flip -type TrueColor BMP3:top-down.bmp
printf '\354\377\377\377' | dd of=top-down.bmp bs=1 seek=22 conv=notrunc status=none
# Pixels that end half-way down the bottom row (bitmaps are stored bottom row first).
ramp -type TrueColor BMP3:- | head -c 400 >truncated.bmp

ramp -interlace PNG PNG24:interlaced.png
ramp -depth 16 PNG48:deep.png
ramp -alpha set -channel A -fx "i/w" +channel -depth 16 PNG64:deep-alpha.png
ramp -alpha set -channel A -fx 'i/w' +channel PNG32:alpha-ramp.png
ramp -colorspace Gray PNG:grey.png
convert -size 320x320 gradient:red-blue -quality 80 larger-subsampled.jpg
ramp -colorspace Gray -quality 90 grey.jpg
larger -quality 80 larger.webp
ramp -alpha set -channel A -fx 'i/w' +channel -define webp:lossless=true alpha.webp
convert -delay 10 -size 16x16 xc:red xc:lime -loop 0 animated.webp
# An Exif orientation of "rotate 90": the window has always shown pictures as stored.
halves 8x16 red blue $jpeg plain.jpg
{ head -c 2 plain.jpg; echo ffe10022457869660000 49492a0008000000 0100 12010300010000000600000000000000 | xxd -r -p
  tail -c +3 plain.jpg; } >oriented.jpg && rm plain.jpg
# The last scan of progressive.jpg (its Huffman table and its data) repeated to 1000 scans: each
# repeat is decoded again, so a few tens of thousands take the decoder minutes.
last=$(($(LC_ALL=C grep -obUaP '\xff\xc4' progressive.jpg | tail -1 | cut -d: -f1)))
end=$(($(stat -c %s progressive.jpg) - 2))
{ head -c "$end" progressive.jpg
  i=0; while [ $i -lt 990 ]; do tail -c +$((last + 1)) progressive.jpg | head -c $((end - last)); i=$((i + 1)); done
  printf '\377\331'; } >many-scans.jpg
# Top half red, bottom half blue, cut half way through the compressed pixels.
convert -size 16x32 xc:red -size 16x32 xc:blue -append full.gif
head -c $(($(stat -c %s full.gif) * 3 / 4)) full.gif >truncated.gif && rm full.gif

# Chroma stored at half the width (4:2:2) or half of both sides (4:2:0), odd sides: a decode cut
# short of the right edge must give the columns it keeps as a whole decode does.
convert -size 33x21 radial-gradient:red-blue -quality 90 -sampling-factor 2x1 ramp-422.jpg
convert -size 33x21 radial-gradient:red-blue -quality 90 -sampling-factor 2x2 ramp-420.jpg
convert -size 33x21 radial-gradient:lime-magenta -quality 90 ramp-lossy.webp
# TIFF in the layouts cameras and scanners write; a second page that is never shown.
ramp -depth 16 -compress zip TIFF:ramp-16bit.tif
ramp -depth 8 -colorspace CMYK -compress lzw TIFF:ramp-cmyk.tif
ramp -colorspace YCbCr -compress lzw TIFF:ramp-ycbcr.tif
ramp -size 32x20 xc:blue -depth 8 -compress lzw TIFF:two-pages.tif
# HEIC and AVIF of the ramp in rgb-24bit.bmp (colours at full resolution), JPEG XL without loss.
convert rgb-24bit.bmp -strip PNG24:ramp.png
heif-enc -q 95 -p chroma=444 ramp.png -o ramp.heic >/dev/null
heif-enc -A -q 95 -p chroma=444 ramp.png -o ramp.avif >/dev/null
cjxl -d 0 ramp.png ramp.jxl >/dev/null 2>&1 && rm ramp.png
# The eight orientations of one upright picture, each stored turned the other way and saying how
# to turn it back: in JPEG's Exif block and in TIFF's own tag.
upright() { convert \( -size 16x8 xc:red -size 8x8 xc:lime +append \) \( -size 16x8 xc:blue -size 8x8 xc:yellow \
    +append \) -append "$@"; }
o=1
for name in TopLeft:+flop TopRight:-flop BottomRight:-rotate=180 BottomLeft:-flip LeftTop:-transpose \
    RightTop:-rotate=-90 RightBottom:-transverse LeftBottom:-rotate=90; do
    op=$(echo "${name#*:}" | tr = ' ')
    [ "$op" = +flop ] && op=""
    # shellcheck disable=SC2086
    upright $op $jpeg plain.jpg
    { head -c 2 plain.jpg; echo ffe10022457869660000 49492a0008000000 0100 1201030001000000 0${o}00 000000000000 |
        xxd -r -p; tail -c +3 plain.jpg; } >oriented-$o.jpg && rm plain.jpg
    # shellcheck disable=SC2086
    upright $op -orient "${name%%:*}" -compress lzw TIFF:oriented-$o.tif
    o=$((o + 1))
done
# BigTIFF keeps its directory at a 64-bit offset, with wider entries.
tiffcp -8 oriented-6.tif oriented-6-big.tif
# Data that ends early in the other formats: a bitmap (truncated.bmp above), a PNG whose first
# 8 KiB data chunk (the red rows) is whole, and a lossy WebP.
convert -size 96x16 xc:red \( -seed 1 -size 96x48 xc: +noise Random \) -append -strip PNG24:full.png
python3 -c '
import struct, sys, zlib
d = open("full.png", "rb").read()
n = struct.unpack(">I", d[33:37])[0]
data = d[41:41 + n]
out = d[:33]
for i in range(0, n, 8192):
    part = b"IDAT" + data[i:i + 8192]
    out += struct.pack(">I", len(part) - 4) + part + struct.pack(">I", zlib.crc32(part))
sys.stdout.buffer.write(out[:8300])' >truncated.png && rm full.png
convert -size 64x64 xc:red \( -seed 1 -size 64x64 xc: +noise Random \) -append -quality 80 full.webp
head -c $(($(stat -c %s full.webp) * 2 / 3)) full.webp >truncated.webp && rm full.webp
