// SPDX-License-Identifier: MIT
// Pages from random pixels and options, converted twice: with events after every pixel, which
// takes every pixel through the general steps, and with events rarely or never, which takes
// stretches of rows through the quicker path. The two pages must be the same bytes.
//
// Input: quality, flags (two characters, random order, events (2 bits), ignore list, <pre>,
// background, a count short of the area), message length and characters, seed (4 bytes), area
// width (2), first column (and filled, square cells), height, the shortfall when flagged, columns of the area past the
// picture, then pixel colours (3 bytes each, repeated over the picture).
#include "engine/replacements.h"
#include "engine/scan.h"

#include <algorithm>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

class Input
{
public:
    Input(const uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}
    uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    const uint8_t *rest(std::size_t &size) const
    {
        size = m_size - std::min(m_at, m_size);
        return m_data + (m_size - size);
    }

private:
    const uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

class Picture : public engine::PixelSource
{
public:
    Picture(int width, int height, Input &input) : m_width(width), m_colors(std::size_t(width * height))
    {
        std::size_t size = 0;
        const uint8_t *bytes = input.rest(size);
        for (std::size_t i = 0; i < m_colors.size() && size >= 3; ++i) {
            const uint8_t *c = bytes + i % (size / 3) * 3;
            m_colors[i] = c[0] | c[1] << 8 | c[2] << 16;
        }
    }
    // -1 beyond the picture, as a point that cannot be read.
    int32_t pixel(int x, int y) override
    {
        const std::size_t at = std::size_t(y) * std::size_t(m_width) + std::size_t(x);
        return x < m_width && at < m_colors.size() ? m_colors[at] : -1;
    }

private:
    int m_width;
    std::vector<int32_t> m_colors;
};

struct NoHost : engine::ScanHost
{
    void processEvents() override {}
};

std::string convert(const engine::ScanSettings &settings, Picture &picture)
{
    const int fd = ::memfd_create("page", MFD_CLOEXEC);
    if (fd < 0) __builtin_trap();
    engine::Conversion conversion(settings);
    conversion.startDocumentOn(fd, "page");
    NoHost host;
    conversion.Loopconvert(picture, host);
    std::string page(std::size_t(::lseek(fd, 0, SEEK_END)), '\0');
    if (::pread(fd, page.data(), page.size(), 0) != ssize_t(page.size())) __builtin_trap();
    ::close(fd);
    return page;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    Input input(data, size);
    engine::ScanSettings s;
    s.quality = 100 - input.byte() % 21 * 5;
    const uint8_t flags = input.byte();
    s.twoCharsPerPixel = flags & 1;
    s.randomOrder = flags & 2;
    s.page.insertPre = flags & 32;
    s.page.blackBackground = flags & 64;
    const int length = input.byte() % 8;
    for (int i = 0; i < length; ++i) {
        const uint8_t c = input.byte();
        s.message += c < 0x80 ? "&01AZ9\xC5 "[c % 8] : char(c);
    }
    for (int i = 0; i < 4; ++i)
        s.seed = s.seed << 8 | input.byte();
    const int width = 1 + (input.byte() << 8 | input.byte()) % 600;
    const uint8_t column = input.byte();
    const int x1 = column % 8;
    s.page.fillCells = column & 8;
    s.page.squarePixels = column & 16;
    const int height = 1 + input.byte() % 4;
    s.area = {int16_t(x1), 0, int16_t(x1 + width), int16_t(height)};
    s.pixelCount = width * height - (flags & 128 ? input.byte() % width : 0);
    Picture picture(std::max(1, x1 + width - input.byte() % 4), height, input);
    if (flags & 16) {
        // A colour of the picture, and a replacement whose text is no number as written.
        const int32_t from = picture.pixel(x1, 0);
        s.replacements = {engine::replacementEntry(from, from ^ 0x10101), std::to_string(from ^ 0x10101) + " > 007"};
    }

    engine::ScanSettings every = s;
    every.eventInterval = std::chrono::nanoseconds(0);
    const std::chrono::nanoseconds rarely[] = {std::chrono::hours(1), engine::kNoEvents, std::chrono::microseconds(1),
                                               std::chrono::nanoseconds(1)};
    s.eventInterval = rarely[flags >> 2 & 3];
    if (convert(every, picture) != convert(s, picture)) __builtin_trap();
    return 0;
}
