// SPDX-License-Identifier: MIT
// Formats told by their first bytes, and their names.
#include "decode.h"

#include <algorithm>
#include <cstring>

namespace decode {

namespace {

// magic may hold zero bytes: all of the literal counts but its terminator.
template <std::size_t N>
bool startsWith(const uint8_t *data, std::size_t size, const char (&magic)[N], std::size_t offset = 0)
{
    return size >= offset + N - 1 && std::memcmp(data + offset, magic, N - 1) == 0;
}

// A DIB without its file header: an information header of a size bitmaps use, one plane and a
// bit depth read here.
bool headerlessBitmap(const uint8_t *d, std::size_t n)
{
    const auto u16 = [d](std::size_t i) { return unsigned(d[i]) | unsigned(d[i + 1]) << 8; };
    if (n < 16 || d[1] || d[2] || d[3]) return false;
    const unsigned size = d[0], planes = size == 12 ? 8 : 12, bits = u16(planes + 2);
    const bool known = size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
    return known && u16(planes) == 1 && (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32);
}

// HEIF files (an ISO box "ftyp" first) by their brands: AV1 pictures or HEVC ones; Unknown for
// the other kinds of file in such boxes (videos).
Format heifBrand(const uint8_t *d, std::size_t n)
{
    const std::size_t boxEnd = std::min<std::size_t>(n, std::size_t(d[0]) << 24 | d[1] << 16 | d[2] << 8 | d[3]);
    bool heif = false;
    for (std::size_t at = 8; at + 4 <= boxEnd; at += at == 8 ? 8 : 4) { // major brand, version, compatible
        const auto brand = [&](const char *name) { return std::memcmp(d + at, name, 4) == 0; };
        if (brand("avif") || brand("avis")) return Format::Avif;
        heif = heif || brand("heic") || brand("heix") || brand("heim") || brand("heis") || brand("hevc") ||
               brand("hevx") || brand("mif1") || brand("msf1");
    }
    return heif ? Format::Heic : Format::Unknown;
}

} // namespace

Format sniffFormat(const uint8_t *data, std::size_t size)
{
    if (startsWith(data, size, "\xFF\xD8\xFF")) return Format::Jpeg;
    if (startsWith(data, size, "\x89PNG\r\n\x1A\n")) return Format::Png;
    if (startsWith(data, size, "GIF87a") || startsWith(data, size, "GIF89a")) return Format::Gif;
    if (startsWith(data, size, "RIFF") && startsWith(data, size, "WEBP", 8)) return Format::WebP;
    if (startsWith(data, size, "II*\0") || startsWith(data, size, "MM\0*") || startsWith(data, size, "II+\0") ||
        startsWith(data, size, "MM\0+"))
        return Format::Tiff;
    if (startsWith(data, size, "ftyp", 4)) return heifBrand(data, size);
    if (startsWith(data, size, "\xFF\x0A") || startsWith(data, size, "\0\0\0\x0CJXL \r\n\x87\n")) return Format::JpegXl;
    if (startsWith(data, size, "BM") || headerlessBitmap(data, size)) return Format::Bmp;
    return Format::Unknown;
}

const char *formatName(Format format)
{
    switch (format) {
    case Format::Bmp:
        return "BMP";
    case Format::Jpeg:
        return "JPEG";
    case Format::Png:
        return "PNG";
    case Format::Gif:
        return "GIF";
    case Format::WebP:
        return "WebP";
    case Format::Tiff:
        return "TIFF";
    case Format::Heic:
        return "HEIC";
    case Format::Avif:
        return "AVIF";
    case Format::JpegXl:
        return "JPEG XL";
    case Format::Unknown:
        break;
    }
    return "unknown";
}

} // namespace decode
