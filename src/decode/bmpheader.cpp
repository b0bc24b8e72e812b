// SPDX-License-Identifier: MIT
#include "bmpheader.h"

namespace decode::detail::bmp {

namespace {

// The information header of infoSize bytes at info: size, depth, compression, the bit fields held.
std::string readInfoHeader(const Bytes &bytes, std::size_t info, uint32_t infoSize, Header &h)
{
    if (infoSize == 12) { // OS/2 1.x: 16-bit sizes, 3-byte colours
        if (!bytes.has(info, 12)) return "the bitmap header is cut short";
        h.width = bytes.u16(info + 4);
        h.height = bytes.u16(info + 6);
        if (bytes.u16(info + 8) != 1) return "a bitmap of more than one plane";
        h.bitCount = bytes.u16(info + 10);
        h.paletteEntry = 3;
        return {};
    }
    if (infoSize < 16 || infoSize > 256) return "a bitmap header of " + std::to_string(infoSize) + " bytes";
    if (!bytes.has(info, std::max<uint32_t>(infoSize, 16))) return "the bitmap header is cut short";
    h.width = int32_t(bytes.u32(info + 4));
    const int32_t height = int32_t(bytes.u32(info + 8));
    h.topDown = height < 0;
    h.height = height < 0 ? -(long long)height : height;
    if (bytes.u16(info + 12) != 1) return "a bitmap of more than one plane";
    h.bitCount = bytes.u16(info + 14);
    if (infoSize >= 20) h.compression = bytes.u32(info + 16);
    if (infoSize >= 36) h.colorsUsed = bytes.u32(info + 32);
    if (infoSize == 64 && h.compression == 3) h.compression = 99; // OS/2 Huffman, not bit fields
    for (std::size_t i = 0; i < 4 && 40 + 4 * (i + 1) <= infoSize; ++i)
        h.masks[i] = bytes.u32(info + 40 + 4 * i);
    return {};
}

// Bit fields that do not fit in the header follow it, at afterInfo, which is moved past them.
std::string readBitFields(const Bytes &bytes, uint32_t infoSize, std::size_t &afterInfo, Header &h)
{
    if ((h.compression != BitFields && h.compression != AlphaBitFields) || infoSize >= 52) return {};
    const std::size_t count = h.compression == AlphaBitFields ? 4 : 3;
    if (!bytes.has(afterInfo, count * 4)) return "the bitmap's bit fields are cut short";
    for (std::size_t i = 0; i < count; ++i)
        h.masks[i] = bytes.u32(afterInfo + 4 * i);
    afterInfo += count * 4;
    return {};
}

// Whether depth and compression are a pair read here; plain 16 to 32 bits get the masks they imply.
std::string checkCoding(Header &h)
{
    const uint32_t bits = h.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return "a bitmap of " + std::to_string(bits) + " bits a pixel";
    const bool fits = h.compression == Rgb || (h.compression == Rle8 && bits == 8) ||
                      (h.compression == Rle4 && bits == 4) ||
                      ((h.compression == BitFields || h.compression == AlphaBitFields) && (bits == 16 || bits == 32));
    if (!fits)
        return "a bitmap compressed in way " + std::to_string(h.compression) + " at " + std::to_string(bits) + " bits";
    if (h.compression == Rgb && bits == 16) h.masks = {0x7C00, 0x03E0, 0x001F, 0};
    if (h.compression == Rgb && bits >= 24) h.masks = {0xFF0000, 0x00FF00, 0x0000FF, 0};
    if ((h.compression == Rle4 || h.compression == Rle8) && h.topDown) return "a top-down bitmap cannot be compressed";
    return {};
}

// The colour table from paletteAt, and where the pixels start: at offBits, the file header's
// offset (0 without one), unless that points into the headers or the table.
std::string placeTableAndPixels(const Bytes &bytes, std::size_t paletteAt, uint32_t offBits, Header &h)
{
    h.paletteAt = paletteAt;
    std::size_t paletteBytes = 0;
    if (h.bitCount <= 8) {
        if (h.colorsUsed > 256) return "a bitmap colour table of " + std::to_string(h.colorsUsed) + " colours";
        uint32_t colors = h.colorsUsed ? h.colorsUsed : 1u << h.bitCount;
        // A shorter table (OS/2 bitmaps give no count) ends where the pixels start.
        if (offBits > h.paletteAt && offBits < h.paletteAt + colors * h.paletteEntry)
            colors = uint32_t((offBits - h.paletteAt) / h.paletteEntry);
        paletteBytes = colors * h.paletteEntry;
        if (!bytes.has(h.paletteAt, paletteBytes)) return "the bitmap colour table is cut short";
        h.colorsUsed = colors;
    } else {
        h.colorsUsed = 0; // a table beside direct colours only suggests a palette for displays
    }
    h.dataAt = offBits > h.paletteAt + paletteBytes ? offBits : h.paletteAt + paletteBytes;
    if (h.dataAt >= bytes.size()) return "the bitmap has no pixels";
    return {};
}

} // namespace

std::string readHeader(const Bytes &bytes, Header &h)
{
    const std::size_t info = bytes.has(0, 2) && *bytes.at(0) == 'B' && *bytes.at(1) == 'M' ? 14 : 0;
    if (!bytes.has(0, info + 4)) return "the bitmap header is cut short";
    const uint32_t infoSize = bytes.u32(info);
    std::size_t afterInfo = info + infoSize;
    std::string reason = readInfoHeader(bytes, info, infoSize, h);
    if (reason.empty()) reason = readBitFields(bytes, infoSize, afterInfo, h);
    if (reason.empty()) reason = checkCoding(h);
    if (reason.empty()) reason = placeTableAndPixels(bytes, afterInfo, info ? bytes.u32(10) : 0, h);
    return reason;
}

} // namespace decode::detail::bmp
