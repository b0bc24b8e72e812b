// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Pictures decoded straight from their bytes with the reference libraries (libjpeg-turbo,
// libspng, giflib, libwebp, libtiff, libheif, libjxl) and a reader of our own for bitmaps: no Qt,
// no plugins to load.
namespace decode {

enum class Format { Unknown, Bmp, Jpeg, Png, Gif, WebP, Tiff, Heic, Avif, JpegXl };

// The format told by the first bytes (the name never counts); Unknown for anything else.
Format sniffFormat(const uint8_t *data, std::size_t size);
const char *formatName(Format format); // "BMP", "JPEG", ...; "unknown"
// The file name suffixes these formats usually go by, for a file dialog's filter; reading never
// goes by the name.
inline constexpr const char *kFileSuffixes[] = {"avif", "bmp", "dib", "gif", "heic", "heif", "jpeg",
                                                "jpg",  "jxl", "png", "tif", "tiff", "webp"};

// A progressive JPEG is decoded once per scan: tens of thousands of scans take minutes. Real
// pictures have about ten; libjpeg-turbo's tools suggest a limit of a few hundred.
inline constexpr int kMaxJpegScans = 300;
// And each scan passes over every block (8 x 8 pixels) of its components, so the scans of a large
// picture are bounded together: ten scans over the largest picture the memory limit lets through
// (a million blocks) fit, a few hundred over a 4000 x 4000 one (50 million) do not.
inline constexpr long long kMaxJpegScanBlocks = 16ll << 20;
// Bytes one picture may take to decode, whatever its file claims.
inline constexpr std::size_t kMemoryLimit = std::size_t(128) << 20;
// A larger file is not taken for a picture: no picture's file holds more than twice what decoding
// it may take. Refused by its size, before any of it is read.
inline constexpr std::size_t kMaxFileSize = 2 * kMemoryLimit;
// Bytes of picture files the decoders of one process hold at once: a batch converted on many
// threads waits for room rather than hold a large file for each.
inline constexpr std::size_t kFileBytesAtOnce = 2 * kMaxFileSize;

struct Request
{
    // Only the top-left clipWidth x clipHeight pixels are kept (and, where the format allows,
    // decoded); 0 keeps the whole width or height, for a caller that scales.
    int clipWidth = 300;
    int clipHeight = 300;
    // 0x00BBGGRR, what transparent and half-transparent pixels are laid over.
    uint32_t background = 0xFFFFFF;
    // Bytes one decoder may take: a picture that would need more is refused with its size in the
    // reason. Bitmaps, PNG, GIF, WebP, TIFF and JPEG XL count their whole picture at 4 bytes a
    // pixel (16-bit PNG, HEIC and AVIF at 8), as Qt's readers did; JPEG counts what libjpeg keeps
    // (the rows decoded, or every coefficient of a progressive picture).
    std::size_t memoryLimit = kMemoryLimit;
    // A progressive JPEG with more scans than this is refused.
    int maxJpegScans = kMaxJpegScans;
    // For a caller that scales the whole picture (no clip): given the picture's size, the size it
    // will be scaled to. A JPEG is then decoded at a half, a quarter or an eighth of its size where
    // that is still at least this in both directions, which spares time and most of the memory
    // (HEIC and AVIF are averaged down so once decoded); the canvas is that smaller picture.
    std::function<std::pair<int, int>(int width, int height)> scaleTarget;
};

// Opaque pixels, row by row, as 0x00BBGGRR (the layout the conversion reads).
struct Canvas
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t pixel(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

struct Result
{
    Format format = Format::Unknown;
    int pictureWidth = 0; // of the whole picture, whatever was kept
    int pictureHeight = 0;
    Canvas canvas;     // min(picture, clip) in each direction
    std::string error; // empty on success, else why the bytes are no readable picture
    // The data ends before the picture (the first frame of a GIF) does: the canvas shows what
    // could be read.
    bool incomplete = false;

    bool ok() const { return error.empty(); }
};

// Decodes the first picture (the first frame of an animation, the first page of a TIFF, the
// primary picture of a HEIC or AVIF) in data, upright as its orientation says. Never throws for
// bad bytes; a format other than those above gives format Unknown and an error, so that a caller
// can offer the bytes to another reader.
Result decodePicture(const uint8_t *data, std::size_t size, const Request &request = {});
// Opens a picture for reading: a regular file only, and without blocking on a FIFO. -1, with
// error saying what is wrong ("Permission denied", "is a folder"), when it cannot.
int openPictureFile(const std::string &path, std::string &error);
// The whole of an open file from its current offset; empty with error set when it cannot be read
// or holds more than maxFileSize bytes.
std::vector<uint8_t> readFile(int fd, std::string &error, std::size_t maxFileSize = kMaxFileSize);
// The picture in the whole of an open file, read by readFile() once there is room for it among the
// files being decoded (kFileBytesAtOnce).
Result decodeFile(int fd, const Request &request = {}, std::size_t maxFileSize = kMaxFileSize);

} // namespace decode
