// SPDX-License-Identifier: MIT
// The first frame of a GIF through giflib, laid out as Qt's reader laid it: on the logical screen
// (a screen of no size taken from the frame), over the screen's background colour
// when the frame does not cover it, its transparent pixels showing the background of the box.
#include "readers.h"

#include <algorithm>
#include <cstring>
#include <gif_lib.h>
#include <memory>

namespace decode::detail {

namespace {

struct Source
{
    const uint8_t *data;
    std::size_t size;
    std::size_t at;
    int padding; // past the end, this byte as often as asked; -1: the data just ends
    // Bytes of padding it may give: enough to complete the block that was cut (its codes are the
    // ones wanted), and no more, as sub-blocks of padding would otherwise go on decoding forever.
    std::size_t budget;
};

int readBytes(GifFileType *gif, GifByteType *into, int wanted)
{
    auto *source = static_cast<Source *>(gif->UserData);
    const std::size_t count = std::min(std::size_t(wanted), source->size - source->at);
    std::memcpy(into, source->data + source->at, count);
    source->at += count;
    const std::size_t padded = std::min(std::size_t(wanted) - count, source->budget);
    if (source->padding < 0 || padded == 0) return int(count);
    std::memset(into + count, source->padding, padded);
    source->budget -= padded;
    return int(count + padded);
}

struct Close
{
    void operator()(GifFileType *gif) const { DGifCloseFile(gif, nullptr); }
};

// giflib's texts speak of files and records; the reason is told in the reader's words.
std::string gifError(int code)
{
    switch (code) {
    case D_GIF_ERR_READ_FAILED:
    case D_GIF_ERR_EOF_TOO_SOON:
        return "the GIF data is cut short";
    case D_GIF_ERR_NOT_GIF_FILE:
        return "not a GIF";
    case D_GIF_ERR_NOT_ENOUGH_MEM:
        return "out of memory";
    default:
        return "damaged GIF data";
    }
}

constexpr uint32_t kOpaque = 0xFF000000;

// The frame's rows in the order the data holds them.
std::vector<long long> rowOrder(const GifImageDesc &frame)
{
    std::vector<long long> rows;
    static const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < (frame.Interlace ? 4 : 1); ++pass)
        for (int r = frame.Interlace ? start[pass] : 0; r < frame.Height; r += frame.Interlace ? step[pass] : 1)
            rows.push_back(frame.Top + r);
    return rows;
}

// An extension record: the graphics control's transparent index is kept (-1: none), the rest
// skipped.
std::string readExtension(GifFileType *gif, int &transparent)
{
    int code = 0;
    GifByteType *block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return gifError(gif->Error);
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) transparent = block[1] & 1 ? block[4] : -1;
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return gifError(gif->Error);
    }
    return {};
}

// Reads the records before the first frame, then the frame's description into gif->Image;
// returns why there is no frame to read.
std::string readToFrame(GifFileType *gif, const Source &source, int &transparent)
{
    GifRecordType record;
    for (;;) {
        if (DGifGetRecordType(gif, &record) == GIF_ERROR) return gifError(gif->Error);
        if (record == IMAGE_DESC_RECORD_TYPE) break;
        if (record == TERMINATE_RECORD_TYPE) return "a GIF without a picture";
        if (record != EXTENSION_RECORD_TYPE) continue;
        if (std::string reason = readExtension(gif, transparent); !reason.empty()) return reason;
    }
    if (DGifGetImageDesc(gif) != GIF_ERROR) return {};
    // giflib takes codes that start wider than 8 bits (the byte it read last) for a failed read.
    const bool wide = source.at > 0 && source.at <= source.size && source.data[source.at - 1] > 8;
    return wide ? "a GIF whose pixels are coded in more than 8 bits" : gifError(gif->Error);
}

// Colours with their alpha (as Qt's reader kept them: past the table white, without a table
// black, the transparent index see-through); the box's background shows where alpha is 0.
struct Colors
{
    int transparent = -1; // the see-through index; -1: none
    uint32_t background = 0;

    bool alpha() const { return transparent >= 0; }
    uint32_t color(const ColorMapObject *table, int index) const
    {
        uint32_t value = 0;
        if (table && index < table->ColorCount) {
            const GifColorType &c = table->Colors[index];
            value = rgb(c.Red, c.Green, c.Blue) | kOpaque;
        } else if (table) {
            value = 0xFFFFFF;
        }
        return index == transparent ? value & 0xFFFFFF : value;
    }
    uint32_t shown(const ColorMapObject *table, int index) const
    {
        const uint32_t value = color(table, index);
        return alpha() && !(value & kOpaque) ? background : value & 0xFFFFFF;
    }
};

// Pixels of the screenWidth x screenHeight screen the frame does not reach: black, the background
// where the picture has transparency, or the screen's own background colour around a smaller frame.
uint32_t uncovered(const GifFileType *gif, long long screenWidth, long long screenHeight, const Colors &colors)
{
    const GifImageDesc &frame = gif->Image;
    const bool partial = frame.Left || frame.Top || frame.Width < screenWidth || frame.Height < screenHeight;
    if (partial && !colors.alpha() && gif->SColorMap) return colors.shown(gif->SColorMap, gif->SBackGroundColor);
    return colors.alpha() ? colors.background : 0;
}

// The frame's pixels onto the canvas, as far as the data holds them.
void readRows(GifFileType *gif, const Colors &colors, Canvas &canvas)
{
    const GifImageDesc &frame = gif->Image;
    const ColorMapObject *map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    std::vector<GifPixelType> line(std::size_t(std::max(frame.Width, 1)));
    // Every row comes once, in whichever pass: once all kept rows have come, the rest is not read.
    long long rowsLeft = std::clamp<long long>(canvas.height - frame.Top, 0, frame.Height);
    for (const long long y : rowOrder(frame)) {
        if (rowsLeft == 0) return;
        // A frame cut short keeps the rows it has.
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return;
        if (y >= canvas.height) continue;
        --rowsLeft;
        uint32_t *out = &canvas.pixels[std::size_t(y) * std::size_t(canvas.width)];
        const int end = int(std::min<long long>(canvas.width - frame.Left, frame.Width));
        for (int x = 0; x < end; ++x)
            out[frame.Left + x] = colors.shown(map, line[std::size_t(x)]);
    }
}

// One decoding of the first frame, the data padded past its end with padding (-1: not padded);
// frameRead gets where the frame lies.
void readGifOnce(const uint8_t *data, std::size_t size, int padding, const Request &request, Result &result,
                 GifImageDesc &frameRead)
{
    Source source{data, size, 0, padding, 256};
    int error = 0;
    const std::unique_ptr<GifFileType, Close> file(DGifOpen(&source, readBytes, &error));
    GifFileType *gif = file.get();
    if (!gif) {
        result.error = gifError(error);
        return;
    }
    Colors colors;
    colors.background = request.background;
    result.error = readToFrame(gif, source, colors.transparent);
    if (!result.ok()) return;
    const GifImageDesc &frame = gif->Image;
    frameRead = frame;
    // The frame is decoded whole, kept or not: it counts against the limit as a picture does.
    if ((unsigned long long)frame.Width * unsigned(frame.Height) > request.memoryLimit / 4) {
        result.error = tooLarge(frame.Width, frame.Height, request);
        return;
    }
    long long screenWidth = gif->SWidth, screenHeight = gif->SHeight;
    if (screenWidth <= 0) screenWidth = frame.Left + frame.Width;
    if (screenHeight <= 0) screenHeight = frame.Top + frame.Height;
    const uint32_t fill = uncovered(gif, screenWidth, screenHeight, colors);
    if (!startCanvas(result, screenWidth, screenHeight, request, 4, fill)) return;
    readRows(gif, colors, result.canvas);
}

} // namespace

void readGif(const uint8_t *data, std::size_t size, const Request &request, Result &result)
{
    GifImageDesc frame{};
    readGifOnce(data, size, -1, request, result, frame);
    if (!result.ok() || !result.incomplete) return;
    // giflib reads whole data blocks, so a cut block is lost. Decoded with the data padded by two
    // different bytes, the pixels agree up to the cut and, but by chance, no further: those are kept,
    // as Qt's reader kept every pixel before the cut.
    Result zeros, ones;
    zeros.format = ones.format = result.format;
    readGifOnce(data, size, 0x00, request, zeros, frame);
    readGifOnce(data, size, 0xFF, request, ones, frame);
    if (!zeros.ok() || !ones.ok() || zeros.canvas.pixels.size() != result.canvas.pixels.size() ||
        ones.canvas.pixels.size() != result.canvas.pixels.size())
        return;
    Canvas &canvas = result.canvas;
    const int end = int(std::min<long long>(canvas.width - frame.Left, frame.Width));
    for (const long long y : rowOrder(frame)) {
        if (y >= canvas.height) continue;
        const std::size_t row = std::size_t(y) * std::size_t(canvas.width) + std::size_t(frame.Left);
        for (int x = 0; x < end; ++x) {
            if (zeros.canvas.pixels[row + std::size_t(x)] != ones.canvas.pixels[row + std::size_t(x)]) return;
            canvas.pixels[row + std::size_t(x)] = zeros.canvas.pixels[row + std::size_t(x)];
        }
    }
}

} // namespace decode::detail
