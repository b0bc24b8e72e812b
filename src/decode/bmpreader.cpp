// SPDX-License-Identifier: MIT
// Windows and OS/2 bitmaps: 1, 4, 8, 16, 24 and 32 bits a pixel, uncompressed or RLE4/RLE8,
// bit fields, bottom-up or top-down. Every offset and count comes from the file, so each is
// checked against the bytes there are before it is used.
#include "readers.h"

#include <algorithm>
#include <array>

namespace decode::detail {

namespace {

enum Compression : uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6 };

class Bytes
{
public:
    Bytes(const uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}
    bool has(std::size_t offset, std::size_t count) const { return offset <= m_size && count <= m_size - offset; }
    uint32_t u16(std::size_t offset) const { return uint32_t(m_data[offset]) | uint32_t(m_data[offset + 1]) << 8; }
    uint32_t u32(std::size_t offset) const { return u16(offset) | u16(offset + 2) << 16; }
    const uint8_t *at(std::size_t offset) const { return m_data + offset; }
    std::size_t size() const { return m_size; }

private:
    const uint8_t *m_data;
    std::size_t m_size;
};

// One channel of a bit-field pixel in 8 bits. A narrower channel is scaled to the full range (five
// bits of 31 give 255: white stays white); a wider one keeps its top 8 bits.
struct Channel
{
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m = 0) : mask(m)
    {
        if (!mask) return;
        while (!(m & 1))
            m >>= 1, ++shift;
        while (m & 1)
            m >>= 1, ++bits;
    }
    uint32_t operator()(uint32_t pixel, uint32_t none) const
    {
        if (!bits) return none;
        const uint32_t value = (pixel & mask) >> shift & (bits >= 32 ? ~0u : (1u << bits) - 1);
        if (bits >= 8) return value >> (bits - 8);
        const uint32_t most = (1u << bits) - 1;
        return (value * 255 + most / 2) / most;
    }
};

struct Header
{
    long long width = 0;
    long long height = 0; // positive, whichever way the rows run
    bool topDown = false;
    uint32_t bitCount = 0;
    uint32_t compression = Rgb;
    uint32_t colorsUsed = 0;
    std::array<uint32_t, 4> masks{}; // red, green, blue, alpha
    std::size_t paletteAt = 0;
    std::size_t paletteEntry = 4; // bytes a colour
    std::size_t dataAt = 0;
};

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

// Reads the headers; returns a reason when the file is no bitmap read here. A DIB without the
// file header ("BM", sizes, the pixels' offset) starts with the information header.
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

class BmpReader
{
public:
    BmpReader(const Bytes &bytes, const Header &header, const Request &request, Result &result)
        : m_bytes(bytes), m_h(header), m_request(request), m_result(result), m_canvas(result.canvas)
    {
        for (uint32_t i = 0; i < 256; ++i)
            m_palette[i] = 0; // colours past the table are black
        for (uint32_t i = 0; i < m_h.colorsUsed; ++i) {
            const uint8_t *c = bytes.at(m_h.paletteAt + i * m_h.paletteEntry);
            m_palette[i] = rgb(c[2], c[1], c[0]);
        }
    }

    void read()
    {
        if (m_h.compression == Rle4 || m_h.compression == Rle8)
            readRle();
        else
            readRows();
    }

private:
    // Only the rows shown are read, wherever in the file they lie; rows the file lacks stay black.
    void readRows()
    {
        const std::size_t stride = std::size_t((m_h.width * m_h.bitCount + 31) / 32 * 4);
        const Channel red(m_h.masks[0]), green(m_h.masks[1]), blue(m_h.masks[2]), alpha(m_h.masks[3]);
        m_result.incomplete = (m_bytes.size() - m_h.dataAt) / stride < std::size_t(m_h.height);
        for (int y = 0; y < m_canvas.height; ++y) {
            const long long fileRow = m_h.topDown ? y : m_h.height - 1 - y;
            const std::size_t offset = m_h.dataAt + std::size_t(fileRow) * stride;
            if (!m_bytes.has(offset, 0)) continue;
            const std::size_t available = std::min(stride, m_bytes.size() - offset);
            const uint8_t *row = m_bytes.at(offset);
            uint32_t *out = &m_canvas.pixels[std::size_t(y) * std::size_t(m_canvas.width)];
            const int width = int(std::min<std::size_t>(std::size_t(m_canvas.width), available * 8 / m_h.bitCount));
            for (int x = 0; x < width; ++x) {
                switch (m_h.bitCount) {
                case 1:
                    out[x] = m_palette[row[x >> 3] >> (7 - (x & 7)) & 1];
                    break;
                case 4:
                    out[x] = m_palette[row[x >> 1] >> (x & 1 ? 0 : 4) & 15];
                    break;
                case 8:
                    out[x] = m_palette[row[x]];
                    break;
                case 24:
                    out[x] = rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                    break;
                default: {
                    const uint8_t *p = row + std::size_t(x) * (m_h.bitCount / 8);
                    const uint32_t v = m_h.bitCount == 16
                                           ? uint32_t(p[0] | p[1] << 8)
                                           : uint32_t(p[0] | p[1] << 8 | p[2] << 16) | uint32_t(p[3]) << 24;
                    out[x] = over(red(v, 0), green(v, 0), blue(v, 0), alpha(v, 255), m_request.background);
                }
                }
            }
        }
    }

    void put(long long x, long long fileRow, uint8_t index)
    {
        const long long y = m_h.height - 1 - fileRow;
        if (x < m_canvas.width && y >= 0 && y < m_canvas.height)
            m_canvas.pixels[std::size_t(y) * std::size_t(m_canvas.width) + std::size_t(x)] = m_palette[index];
    }

    // Runs from the bottom row up; pixels no run reaches keep colour 0. Reading stops at the
    // end-of-picture mark, at the top row, or where the bytes end.
    void readRle()
    {
        const bool four = m_h.compression == Rle4;
        std::fill(m_canvas.pixels.begin(), m_canvas.pixels.end(), m_palette[0]);
        std::size_t at = m_h.dataAt;
        long long x = 0, row = 0;
        const auto lastRowShown = m_h.height - m_canvas.height; // rows below this are not kept
        // Bytes that end before the end-of-picture mark or the top row leave the picture incomplete.
        m_result.incomplete = true;
        while (row < m_h.height && m_bytes.has(at, 2)) {
            const uint8_t count = *m_bytes.at(at), value = *m_bytes.at(at + 1);
            at += 2;
            if (count > 0) { // a run of one colour, or of two alternating ones
                for (int i = 0; i < count && x < m_h.width; ++i, ++x)
                    if (row >= lastRowShown) put(x, row, four ? (i & 1 ? value & 15 : value >> 4) : value);
                continue;
            }
            if (value == 0) { // end of row
                x = 0;
                ++row;
            } else if (value == 1) { // end of picture
                m_result.incomplete = false;
                break;
            } else if (value == 2) { // move right and up
                if (!m_bytes.has(at, 2)) break;
                x += *m_bytes.at(at);
                row += *m_bytes.at(at + 1);
                at += 2;
            } else { // value pixels as they are, padded to two bytes
                const std::size_t length = four ? (value + 1u) / 2 : value;
                if (!m_bytes.has(at, length)) break;
                for (int i = 0; i < value && x < m_h.width; ++i, ++x) {
                    const uint8_t byte = *m_bytes.at(at + (four ? std::size_t(i) / 2 : std::size_t(i)));
                    if (row >= lastRowShown) put(x, row, four ? (i & 1 ? byte & 15 : byte >> 4) : byte);
                }
                at += (length + 1) & ~std::size_t(1);
            }
        }
        if (row >= m_h.height) m_result.incomplete = false;
    }

    const Bytes &m_bytes;
    const Header &m_h;
    const Request &m_request;
    Result &m_result;
    Canvas &m_canvas;
    std::array<uint32_t, 256> m_palette;
};

} // namespace

void readBmp(const uint8_t *data, std::size_t size, const Request &request, Result &result)
{
    const Bytes bytes(data, size);
    Header header;
    result.error = readHeader(bytes, header);
    if (!result.ok()) return;
    if (!startCanvas(result, header.width, header.height, request, 4, 0)) return;
    BmpReader(bytes, header, request, result).read();
}

} // namespace decode::detail
