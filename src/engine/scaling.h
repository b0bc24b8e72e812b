// SPDX-License-Identifier: MIT
#pragma once

#include "scan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace engine {

struct PixelSize
{
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize &other) const { return width == other.width && height == other.height; }
};

// A size asked for on the command line; a side of 0 is not given.
struct SizeRequest
{
    int width = 0;
    int height = 0;
    bool fit = false; // shrink to the picture box, keeping the picture's proportions
    // Columns and rows of a terminal the page is to fit; 0 x 0: none.
    PixelSize cells{};
    bool any() const { return width > 0 || height > 0 || fit || cells.width > 0; }
};

// The largest side a picture may be scaled to, in pixels.
inline constexpr int kMaxScaledSide = 2000;

// Both sides given: exactly that size. One side given: the other follows the picture's proportions
// as the page shows them: two characters a pixel are about square, one character is about twice as
// tall as wide, so one character a pixel halves the height (squareCells: a pixel's cell is about
// square, by two characters or a square page). The derived side is kept to 1..kMaxScaledSide.
// fit: fitInBox(picture); cells: fitInCells().
PixelSize scaledSize(PixelSize picture, const SizeRequest &request, bool squareCells);
// The picture shrunk (never enlarged) to fit a box of box x box pixels, keeping its proportions.
PixelSize fitInBox(PixelSize picture, int box = kDrawingAreaSize);
// The picture shrunk (never enlarged) so that its page fits cells.width columns and cells.height
// rows of a terminal, whose cells are twice as tall as wide, keeping its proportions as the page
// shows them: one character a pixel halves the height, as with a width alone.
PixelSize fitInCells(PixelSize picture, PixelSize cells, bool squareCells);

// 0 <= x1 < x2 <= width and 0 <= y1 < y2 <= height.
inline bool areaWithin(const RenderArea &area, PixelSize size)
{
    return area.x1 >= 0 && area.y1 >= 0 && area.x1 < area.x2 && area.y1 < area.y2 && area.x2 <= size.width &&
           area.y2 <= size.height;
}

// Pixels of 32 bits as four independent 8-bit channels, row by row; the scaler does not care
// which channel is which.
struct PixelView
{
    const uint32_t *pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0; // pixels from one row to the next
};

struct PixelGrid
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // width * height, row by row

    PixelView view() const { return {pixels.data(), width, height, width}; }
};

// Scales each axis on its own: shrinking averages the area each new pixel covers, enlarging
// interpolates between the two nearest pixel centres. The same size gives the same pixels.
// Works row by row, so it needs little memory beyond the result.
PixelGrid scalePixels(const PixelView &source, PixelSize size);

// A scaled picture as the scan reads it (0x00BBGGRR); -1 outside it.
class GridPixelSource : public PixelSource
{
public:
    explicit GridPixelSource(const PixelGrid &grid) : m_grid(grid) {}
    int32_t pixel(int x, int y) override
    {
        if (x < 0 || y < 0 || x >= m_grid.width || y >= m_grid.height) return -1;
        return int32_t(m_grid.pixels[std::size_t(y) * m_grid.width + x]);
    }
    void pixels(int x, int y, int n, int32_t *out) override
    {
        if (y < 0 || y >= m_grid.height || x < 0 || x + n > m_grid.width) return PixelSource::pixels(x, y, n, out);
        // The same bits: one block copy rather than a conversion per pixel.
        std::memcpy(out, m_grid.pixels.data() + std::size_t(y) * m_grid.width + x, std::size_t(n) * sizeof *out);
    }

private:
    const PixelGrid &m_grid;
};

} // namespace engine
