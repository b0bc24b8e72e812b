// SPDX-License-Identifier: MIT
// Windows and OS/2 bitmaps: 1, 4, 8, 16, 24 and 32 bits a pixel, uncompressed or RLE4/RLE8,
// bit fields, bottom-up or top-down. Every offset and count comes from the file, so each is
// checked against the bytes there are before it is used.
#include "bmpheader.h"
#include "readers.h"

#include <algorithm>
#include <array>

namespace decode::detail {

namespace {

using namespace bmp;

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
