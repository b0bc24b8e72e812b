// SPDX-License-Identifier: MIT
// Pages from random pixels and options, converted twice: with events after every pixel, which
// takes every pixel through the general steps, and with events rarely or never, which takes
// stretches of rows through the quicker path. The two pages must be the same bytes.
//
// Input: quality, flags (two characters, random order, events (2 bits), ignore list, <pre>,
// background, a count short of the area), message length and characters, seed (4 bytes), area
// width (2), first column (with filled and square cells, the first row, and rows of the area past
// the picture), height, the shortfall when flagged, columns of the area past the picture, then
// pixel colours (3 bytes each, repeated).
#include "engine/replacements.h"
#include "engine/scaling.h"

#include <algorithm>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

struct NoHost : engine::ScanHost
{
    void processEvents() override {}
};

std::string convert(const engine::ScanSettings &settings, const engine::PixelGrid &grid)
{
    const int fd = ::memfd_create("page", MFD_CLOEXEC);
    if (fd < 0) __builtin_trap();
    engine::Conversion conversion(settings);
    conversion.startDocumentOn(fd, "page");
    engine::GridPixelSource pixels(grid);
    NoHost host;
    conversion.Loopconvert(pixels, host);
    std::string page(std::size_t(::lseek(fd, 0, SEEK_END)), '\0');
    if (::pread(fd, page.data(), page.size(), 0) != ssize_t(page.size())) __builtin_trap();
    ::close(fd);
    return page;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    std::size_t at = 0;
    const auto byte = [&] { return at < size ? data[at++] : uint8_t(0); };
    engine::ScanSettings s;
    s.quality = 100 - byte() % 21 * 5;
    const uint8_t flags = byte();
    s.twoCharsPerPixel = flags & 1;
    s.randomOrder = flags & 2;
    s.page.insertPre = flags & 32;
    s.page.blackBackground = flags & 64;
    for (int length = byte() % 8; length > 0; --length) {
        const uint8_t c = byte();
        s.message += c < 0x80 ? "&01AZ9\xC5 "[c % 8] : char(c);
    }
    for (int i = 0; i < 4; ++i)
        s.seed = s.seed << 8 | byte();
    const int width = 1 + (byte() << 8 | byte()) % 600;
    const uint8_t column = byte();
    s.page.fillCells = column & 8;
    s.page.squarePixels = column & 16;
    const int x1 = column % 8, y1 = column >> 7, height = 1 + byte() % 4;
    s.area = {int16_t(x1), int16_t(y1), int16_t(x1 + width), int16_t(y1 + height)};
    s.pixelCount = width * height - (flags & 128 ? byte() % width : 0);
    // The picture may end before the area does, right and below; its colours repeat the rest of
    // the input.
    engine::PixelGrid grid{std::max(1, x1 + width - byte() % 4), std::max(1, y1 + height - (column >> 5 & 3)), {}};
    const std::size_t colors = (size - std::min(at, size)) / 3;
    for (int i = 0; i < grid.width * grid.height; ++i) {
        const uint8_t *c = data + at + (colors ? i % colors * 3 : 0);
        grid.pixels.push_back(colors ? c[0] | c[1] << 8 | c[2] << 16 : 0);
    }
    if (flags & 16) {
        // A colour of the picture, and a replacement whose text is no number as written.
        const int32_t from = int32_t(grid.pixels[std::size_t(x1) % grid.pixels.size()]);
        s.replacements = {engine::replacementEntry(from, from ^ 0x10101), std::to_string(from ^ 0x10101) + " > 007"};
    }
    engine::ScanSettings every = s;
    every.eventInterval = std::chrono::nanoseconds(0);
    const std::chrono::nanoseconds rarely[] = {std::chrono::hours(1), engine::kNoEvents, std::chrono::microseconds(1),
                                               std::chrono::nanoseconds(1)};
    s.eventInterval = rarely[flags >> 2 & 3];
    if (convert(every, grid) != convert(s, grid)) __builtin_trap();
    return 0;
}
