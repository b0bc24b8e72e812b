// SPDX-License-Identifier: MIT
// The orientation a camera records (the Exif Orientation tag, 1 to 8), found in each format's own
// place for it, and the stored picture turned upright.
//
// The tag is read here by hand rather than through an Exif library: finding the Exif block is
// format by format work that such a library leaves to its caller anyway, and what is wanted is one
// number in the first directory. A library would parse every tag (maker notes included) of a
// hostile file for it.
#include "orientation.h"

#include <algorithm>
#include <cstring>

namespace decode::detail {

namespace {

// Orientation in the first directory of a TIFF structure (an Exif block is one), classic or
// BigTIFF (64-bit offsets and counts, 20-byte entries); 1 when absent.
int tiffOrientation(const uint8_t *d, std::size_t n)
{
    if (n < 8 || !((d[0] == 'I' && d[1] == 'I') || (d[0] == 'M' && d[1] == 'M'))) return 1;
    const bool little = d[0] == 'I';
    const auto u16 = [&](std::size_t i) { return little ? d[i] | d[i + 1] << 8 : d[i] << 8 | d[i + 1]; };
    const auto u32 = [&](std::size_t i) {
        return little ? uint32_t(u16(i)) | uint32_t(u16(i + 2)) << 16 : uint32_t(u16(i)) << 16 | uint32_t(u16(i + 2));
    };
    const auto u64 = [&](std::size_t i) {
        return little ? uint64_t(u32(i)) | uint64_t(u32(i + 4)) << 32 : uint64_t(u32(i)) << 32 | uint64_t(u32(i + 4));
    };
    const bool big = u16(2) == 43;
    if (!big && u16(2) != 42) return 1;
    if (big && (n < 16 || u16(4) != 8)) return 1;
    const std::size_t countSize = big ? 8 : 2, entrySize = big ? 20 : 12;
    const uint64_t directory = big ? u64(8) : u32(4);
    if (directory > n - countSize) return 1;
    const uint64_t entries = big ? u64(std::size_t(directory)) : u16(std::size_t(directory));
    std::size_t at = std::size_t(directory) + countSize;
    for (uint64_t i = 0; i < entries && at + entrySize <= n; ++i, at += entrySize) {
        if (u16(at) != 0x0112) continue;
        const int value = u16(at + (big ? 12 : 8));
        return u16(at + 2) == 3 && value >= 1 && value <= 8 ? value : 1; // a SHORT
    }
    return 1;
}

uint32_t bigEndian32(const uint8_t *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// The first APP1 segment holding Exif, before the first scan.
int jpegOrientation(const uint8_t *d, std::size_t n)
{
    for (std::size_t at = 2; at + 4 <= n && d[at] == 0xFF;) {
        const uint8_t marker = d[at + 1];
        if (marker == 0xDA || marker == 0xD9) break;
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const std::size_t length = std::size_t(d[at + 2]) << 8 | d[at + 3];
        if (length < 2 || at + 2 + length > n) break;
        if (marker == 0xE1 && length >= 8 && std::memcmp(d + at + 4, "Exif\0\0", 6) == 0)
            return tiffOrientation(d + at + 10, length - 8);
        at += 2 + length;
    }
    return 1;
}

// An eXIf chunk.
int pngOrientation(const uint8_t *d, std::size_t n)
{
    for (std::size_t at = 8; at + 8 <= n;) {
        const std::size_t length = bigEndian32(d + at);
        if (length > n - at - 8) break;
        if (std::memcmp(d + at + 4, "eXIf", 4) == 0) return tiffOrientation(d + at + 8, length);
        if (std::memcmp(d + at + 4, "IEND", 4) == 0) break;
        at += 12 + length;
    }
    return 1;
}

// An EXIF chunk, with or without the "Exif" mark JPEG gives its block.
int webpOrientation(const uint8_t *d, std::size_t n)
{
    for (std::size_t at = 12; at + 8 <= n;) {
        const std::size_t length =
            uint32_t(d[at + 4]) | uint32_t(d[at + 5]) << 8 | uint32_t(d[at + 6]) << 16 | uint32_t(d[at + 7]) << 24;
        if (length > n - at - 8) break;
        const uint8_t *payload = d + at + 8;
        if (std::memcmp(d + at, "EXIF", 4) == 0) {
            const bool marked = length >= 6 && std::memcmp(payload, "Exif\0\0", 6) == 0;
            return tiffOrientation(payload + (marked ? 6 : 0), length - (marked ? 6 : 0));
        }
        at += 8 + length + (length & 1);
    }
    return 1;
}

// Where upright (x, y) lies in the stored picture, for stored columns (u) and rows (v) alike: x or
// y counted from the start or from the end.
enum class From { X, Y, EndX, EndY };
struct Mapping
{
    From u, v;
};
constexpr Mapping kMappings[9] = {
    {From::X, From::Y},       {From::X, From::Y},       {From::EndX, From::Y},
    {From::EndX, From::EndY}, {From::X, From::EndY},    {From::Y, From::X},
    {From::Y, From::EndX},    {From::EndY, From::EndX}, {From::EndY, From::X},
};

int clipFor(From from, const Request &request)
{
    return from == From::X ? request.clipWidth : from == From::Y ? request.clipHeight : 0;
}

} // namespace

int storedOrientation(Format format, const uint8_t *data, std::size_t size)
{
    switch (format) {
    case Format::Jpeg:
        return jpegOrientation(data, size);
    case Format::Png:
        return pngOrientation(data, size);
    case Format::WebP:
        return webpOrientation(data, size);
    case Format::Tiff:
        return tiffOrientation(data, size);
    default: // HEIC, AVIF and JPEG XL are turned by their libraries; BMP and GIF have none
        return 1;
    }
}

Request storedRequest(const Request &request, int orientation)
{
    Request stored = request;
    const Mapping mapping = kMappings[orientation];
    stored.clipWidth = clipFor(mapping.u, request);
    stored.clipHeight = clipFor(mapping.v, request);
    if (request.scaleTarget && orientation >= 5) {
        stored.scaleTarget = [target = request.scaleTarget](int width, int height) {
            const auto [uprightWidth, uprightHeight] = target(height, width);
            return std::pair{uprightHeight, uprightWidth};
        };
    }
    return stored;
}

void turnUpright(Result &result, int orientation, const Request &request)
{
    const Canvas stored = std::move(result.canvas);
    const bool turned = orientation >= 5;
    if (turned) std::swap(result.pictureWidth, result.pictureHeight);
    const int width = turned ? stored.height : stored.width, height = turned ? stored.width : stored.height;
    Canvas &canvas = result.canvas;
    canvas.width = request.clipWidth > 0 ? std::min(width, request.clipWidth) : width;
    canvas.height = request.clipHeight > 0 ? std::min(height, request.clipHeight) : height;
    canvas.pixels.resize(std::size_t(canvas.width) * std::size_t(canvas.height));
    const Mapping mapping = kMappings[orientation];
    const auto place = [&](From from, int x, int y, int side) {
        return from == From::X ? x : from == From::Y ? y : from == From::EndX ? side - 1 - x : side - 1 - y;
    };
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            canvas.pixels[std::size_t(y) * std::size_t(canvas.width) + std::size_t(x)] =
                stored.pixel(place(mapping.u, x, y, stored.width), place(mapping.v, x, y, stored.height));
}

} // namespace decode::detail
