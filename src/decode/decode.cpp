// SPDX-License-Identifier: MIT
#include "decode.h"

#include "orientation.h"
#include "readers.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace decode {

namespace {

// What a picture's markers tell without decoding it.
struct Structure
{
    int scans = 0;          // JPEG start-of-scan markers
    bool truncated = false; // the data ends before the picture (the first frame of a GIF) does
};

// Walks the JPEG markers: segments are skipped by their lengths, entropy-coded data byte by byte
// (0xFF there is followed by 0x00 or a restart marker unless a real marker begins).
Structure jpegStructure(const uint8_t *d, std::size_t n)
{
    Structure s;
    for (std::size_t i = 2;;) {
        if (i + 1 >= n) return s.truncated = true, s;
        if (d[i] != 0xFF) {
            const void *next = std::memchr(d + i, 0xFF, n - i);
            i = next ? std::size_t(static_cast<const uint8_t *>(next) - d) : n;
            continue;
        }
        const uint8_t marker = d[i + 1];
        if (marker == 0xD9) return s; // end of image
        if (marker == 0xFF) {
            ++i; // fill byte
        } else if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            i += 2; // stuffed byte, TEM and restart markers carry no length
        } else {
            if (i + 3 >= n) return s.truncated = true, s;
            if (marker == 0xDA) ++s.scans;
            i += 2 + (std::size_t(d[i + 2]) << 8 | d[i + 3]);
        }
    }
}

// Skips GIF data sub-blocks from i; false when the data ends first.
bool skipSubBlocks(const uint8_t *d, std::size_t n, std::size_t &i)
{
    while (i < n) {
        const uint8_t length = d[i++];
        if (length == 0) return true;
        i += length;
    }
    return false;
}

// Walks a GIF up to the end of its first frame, the one shown.
Structure gifStructure(const uint8_t *d, std::size_t n)
{
    Structure s;
    const auto colorTable = [&](std::size_t flagsAt) { return d[flagsAt] & 0x80 ? 3 * (2 << (d[flagsAt] & 7)) : 0; };
    if (n < 13) return s.truncated = true, s;
    std::size_t i = 13 + std::size_t(colorTable(10));
    while (i < n) {
        if (d[i] == 0x21) { // extension: label, then sub-blocks
            i += 2;
            if (!skipSubBlocks(d, n, i)) break;
        } else if (d[i] == 0x2C) { // image: descriptor, colour table, code size, sub-blocks
            if (i + 10 > n) break;
            i += 10 + std::size_t(colorTable(i + 9)) + 1;
            if (!skipSubBlocks(d, n, i)) break;
            return s;
        } else {
            return s; // the trailer, or something the reader will judge
        }
    }
    s.truncated = true;
    return s;
}

std::string tooManyScans(int scans, int maxScans)
{
    return "a JPEG of " + std::to_string(scans) + " scans (more than " + std::to_string(maxScans) +
           ") is taken as damaged";
}

} // namespace

Result decodePicture(const uint8_t *data, std::size_t size, const Request &uprightRequest)
{
    Result result;
    result.format = sniffFormat(data, size);
    const int orientation = detail::storedOrientation(result.format, data, size);
    const Request request = orientation > 1 ? detail::storedRequest(uprightRequest, orientation) : uprightRequest;
    try {
        switch (result.format) {
        case Format::Bmp:
            detail::readBmp(data, size, request, result);
            break;
        case Format::Jpeg: {
            // Refused before decoding: each scan costs a pass over the whole picture.
            const Structure structure = jpegStructure(data, size);
            if (structure.scans > request.maxJpegScans) {
                result.error = tooManyScans(structure.scans, request.maxJpegScans);
                break;
            }
            result.incomplete = structure.truncated;
            detail::readJpeg(data, size, request, result);
            break;
        }
        case Format::Png:
            detail::readPng(data, size, request, result);
            break;
        case Format::Gif:
            result.incomplete = gifStructure(data, size).truncated;
            detail::readGif(data, size, request, result);
            break;
        case Format::WebP:
            detail::readWebP(data, size, request, result);
            break;
        case Format::Tiff:
            detail::readTiff(data, size, request, result);
            break;
        case Format::Heic:
        case Format::Avif:
            detail::readHeif(data, size, request, result);
            break;
        case Format::JpegXl:
            detail::readJxl(data, size, request, result);
            break;
        case Format::Unknown:
            result.error = size == 0 ? "the file is empty" : "not a format read here";
            break;
        }
        if (result.ok() && orientation > 1) detail::turnUpright(result, orientation, uprightRequest);
    } catch (const std::bad_alloc &) {
        result.error = "out of memory";
    }
    if (!result.ok()) {
        result.canvas = Canvas();
        result.incomplete = false;
    }
    return result;
}

namespace detail {

std::string tooLarge(long long width, long long height, const Request &request)
{
    return "a " + std::to_string(width) + " x " + std::to_string(height) + " picture can need more than the " +
           std::to_string(request.memoryLimit >> 20) + " MiB allowed for decoding";
}

bool startCanvas(Result &result, long long width, long long height, const Request &request, int bytesPerPixel,
                 uint32_t fill)
{
    if (width <= 0 || height <= 0) {
        result.error = "a picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
        return false;
    }
    // Both sides fit in 31 bits in every format read here, so the product cannot overflow.
    if (width > INT32_MAX || height > INT32_MAX ||
        (bytesPerPixel > 0 && (unsigned long long)(width * height) > request.memoryLimit / unsigned(bytesPerPixel))) {
        result.error = tooLarge(width, height, request);
        return false;
    }
    result.pictureWidth = int(width);
    result.pictureHeight = int(height);
    Canvas &canvas = result.canvas;
    canvas.width = request.clipWidth > 0 ? std::min(int(width), request.clipWidth) : int(width);
    canvas.height = request.clipHeight > 0 ? std::min(int(height), request.clipHeight) : int(height);
    if ((unsigned long long)canvas.width * unsigned(canvas.height) > request.memoryLimit / 4) {
        result.error = tooLarge(width, height, request);
        return false;
    }
    canvas.pixels.assign(std::size_t(canvas.width) * std::size_t(canvas.height), fill);
    return true;
}

} // namespace detail

} // namespace decode
