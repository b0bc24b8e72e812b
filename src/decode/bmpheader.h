// SPDX-License-Identifier: MIT
// A bitmap's headers: the file header, the information header of any version, bit fields and the
// colour table, each offset checked against the bytes there are.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace decode::detail::bmp {

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

// Reads the headers; returns a reason when the file is no bitmap read here. A DIB without the
// file header ("BM", sizes, the pixels' offset) starts with the information header.
std::string readHeader(const Bytes &bytes, Header &h);

} // namespace decode::detail::bmp
