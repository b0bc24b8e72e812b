// SPDX-License-Identifier: MIT
#include "scaling.h"

#include <algorithm>
#include <cmath>

namespace engine {

namespace {

int clampSide(double side)
{
    return int(std::clamp(std::lround(side), 1L, long(kMaxScaledSide)));
}

// For each new pixel along one axis, the old pixels it is made of and their weights (summing to 1).
struct AxisTaps
{
    std::vector<int> first;  // per new pixel: first old pixel
    std::vector<int> count;  // per new pixel: how many old pixels
    std::vector<int> offset; // per new pixel: where its weights start
    std::vector<float> weights;
};

AxisTaps axisTaps(int from, int to)
{
    AxisTaps taps;
    const double scale = double(from) / to;
    for (int i = 0; i < to; ++i) {
        taps.offset.push_back(int(taps.weights.size()));
        if (from > to) {
            // Box filter: the new pixel covers [i * scale, (i + 1) * scale) of the old axis.
            const double begin = i * scale;
            const double end = std::min(double(from), (i + 1) * scale);
            const int first = int(begin);
            const int last = std::min(from - 1, int(std::ceil(end)) - 1);
            taps.first.push_back(first);
            taps.count.push_back(last - first + 1);
            for (int j = first; j <= last; ++j)
                taps.weights.push_back(float((std::min(end, j + 1.0) - std::max(begin, double(j))) / scale));
        } else {
            // Bilinear between pixel centres; the edges repeat the outermost pixel.
            const double at = std::clamp((i + 0.5) * scale - 0.5, 0.0, double(from - 1));
            const int first = std::min(int(at), from - 1);
            const double fraction = at - first;
            taps.first.push_back(first);
            if (first + 1 < from && fraction > 0) {
                taps.count.push_back(2);
                taps.weights.push_back(float(1 - fraction));
                taps.weights.push_back(float(fraction));
            } else {
                taps.count.push_back(1);
                taps.weights.push_back(1.0f);
            }
        }
    }
    return taps;
}

// One row scaled along x, four floats a new pixel; channel(i, c) reads channel c of old pixel i.
template <typename Channel> void scaleRowBy(Channel channel, const AxisTaps &taps, float *out)
{
    for (std::size_t x = 0; x < taps.first.size(); ++x) {
        double sum[4] = {0, 0, 0, 0}; // a million taps would lose a level in float
        const int first = taps.first[x];
        const float *weight = taps.weights.data() + taps.offset[x];
        for (int k = 0; k < taps.count[x]; ++k)
            for (int c = 0; c < 4; ++c)
                sum[c] += weight[k] * channel(first + k, c);
        std::copy(sum, sum + 4, out + 4 * x);
    }
}

void scaleRow(const uint32_t *row, const AxisTaps &taps, float *out)
{
    scaleRowBy([row](int i, int c) { return float((row[i] >> (8 * c)) & 0xFF); }, taps, out);
}

void scaleRow(const float *row, const AxisTaps &taps, float *out)
{
    scaleRowBy([row](int i, int c) { return row[4 * i + c]; }, taps, out);
}

// sum += weight * row, four floats a pixel.
void addWeighted(std::vector<double> &sum, float weight, const float *row)
{
    for (std::size_t i = 0; i < sum.size(); ++i)
        sum[i] += weight * row[i];
}

template <typename Sum> void storeRow(const std::vector<Sum> &sum, uint32_t *out)
{
    for (std::size_t x = 0; x < sum.size() / 4; ++x) {
        uint32_t p = 0;
        for (int c = 0; c < 4; ++c)
            p |= uint32_t(std::clamp(std::lround(sum[4 * x + c]), 0L, 255L)) << (8 * c);
        out[x] = p;
    }
}

// Old rows scaled along x, each once: consecutive new rows share at most their last two old rows.
class ScaledRows
{
public:
    ScaledRows(const PixelView &source, const AxisTaps &across) : m_source(source), m_across(across)
    {
        for (std::vector<float> &row : m_rows)
            row.resize(4 * across.first.size());
    }
    const float *row(int y)
    {
        for (int i = 0; i < 2; ++i)
            if (m_index[i] == y) return m_rows[i].data();
        const int slot = m_index[0] < m_index[1] ? 0 : 1; // the older one goes
        m_index[slot] = y;
        scaleRow(m_source.pixels + y * m_source.stride, m_across, m_rows[slot].data());
        return m_rows[slot].data();
    }

private:
    const PixelView &m_source;
    const AxisTaps &m_across;
    std::vector<float> m_rows[2];
    int m_index[2] = {-1, -1};
};

} // namespace

PixelSize scaledSize(PixelSize picture, const SizeRequest &request, bool squareCells)
{
    if (request.fit) return fitInBox(picture);
    if (request.cells.width > 0) return fitInCells(picture, request.cells, squareCells);
    if (request.width > 0 && request.height > 0) return {request.width, request.height};
    // Height of a pixel on the page over its width: 1 with two characters, about 2 with one.
    const double cell = squareCells ? 1.0 : 2.0;
    const double tall = double(picture.height) / picture.width;
    if (request.width > 0) return {request.width, clampSide(request.width * tall / cell)};
    if (request.height > 0) return {clampSide(request.height / tall * cell), request.height};
    return picture;
}

PixelSize fitInBox(PixelSize picture, int box)
{
    if (picture.width <= box && picture.height <= box) return picture;
    const double scale = std::min(double(box) / picture.width, double(box) / picture.height);
    return {std::max(1, int(std::lround(picture.width * scale))),
            std::max(1, int(std::lround(picture.height * scale)))};
}

PixelSize fitInCells(PixelSize picture, PixelSize cells, bool squareCells)
{
    const int perPixel = squareCells ? 2 : 1;
    const double cell = squareCells ? 1.0 : 2.0; // as in scaledSize()
    const int columns = std::max(1, cells.width / perPixel);
    const int rows = std::max(1, cells.height);
    const double scale = std::min({1.0, double(columns) / picture.width, rows * cell / picture.height});
    return {std::min(columns, clampSide(picture.width * scale)),
            std::min(rows, clampSide(picture.height * scale / cell))};
}

PixelGrid scalePixels(const PixelView &source, PixelSize size)
{
    PixelGrid grid{size.width, size.height, std::vector<uint32_t>(std::size_t(size.width) * size.height)};
    if (source.width <= 0 || source.height <= 0 || size.width <= 0 || size.height <= 0) return grid;
    const AxisTaps across = axisTaps(source.width, size.width);
    const AxisTaps down = axisTaps(source.height, size.height);
    // The narrower side first, so that the work follows the pixels of the picture and of the
    // result, never one's height times the other's width (a picture 1 wide and millions tall).
    const bool downFirst = size.width > source.width;
    std::vector<double> sum(4 * std::size_t(downFirst ? source.width : size.width));
    std::vector<float> row(downFirst ? 4 * std::size_t(source.width) : 0);
    std::vector<float> scaled(downFirst ? 4 * std::size_t(size.width) : 0);
    ScaledRows rows(source, across);
    for (int y = 0; y < size.height; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0);
        for (int k = 0; k < down.count[y]; ++k) {
            const int from = down.first[y] + k;
            const float weight = down.weights[down.offset[y] + k];
            if (downFirst) {
                const uint32_t *old = source.pixels + from * source.stride;
                for (int x = 0; x < source.width; ++x)
                    for (int c = 0; c < 4; ++c)
                        row[4 * x + c] = float((old[x] >> (8 * c)) & 0xFF);
                addWeighted(sum, weight, row.data());
            } else {
                addWeighted(sum, weight, rows.row(from));
            }
        }
        if (downFirst) {
            std::copy(sum.begin(), sum.end(), row.begin());
            scaleRow(row.data(), across, scaled.data());
            storeRow(scaled, grid.pixels.data() + std::size_t(y) * size.width);
        } else {
            storeRow(sum, grid.pixels.data() + std::size_t(y) * size.width);
        }
    }
    return grid;
}

} // namespace engine
