// SPDX-License-Identifier: MIT
// PNG through libspng, row by row: a plain picture is read only as far down as it is kept.
#include "readers.h"

#include <memory>
#include <spng.h>

namespace decode::detail {

namespace {

struct FreeContext
{
    void operator()(spng_ctx *context) const { spng_ctx_free(context); }
};

// 16 bits to 8, value / 257 rounded to nearest, as Qt narrows them.
inline uint32_t narrow(uint16_t value)
{
    const uint32_t v = uint32_t(value) + 128;
    return (v - (v >> 8)) >> 8;
}

// A 16-bit pixel over background as Qt lays one: premultiplied in 16 bits, narrowed, then
// blended in 8 bits.
inline uint32_t overDeep(const uint16_t *in, uint32_t background)
{
    const uint32_t a = in[3];
    if (a == 0xFFFF) return rgb(narrow(in[0]), narrow(in[1]), narrow(in[2]));
    if (a == 0) return background;
    const auto premultiply = [a](uint32_t c) {
        const uint32_t t = c * a;
        return uint16_t((t + (t >> 16) + 0x8000u) >> 16);
    };
    const uint32_t a8 = narrow(uint16_t(a)), rest = 255 - a8;
    return rgb(narrow(premultiply(in[0])) + mulAlpha(background & 0xFF, rest),
               narrow(premultiply(in[1])) + mulAlpha(background >> 8 & 0xFF, rest),
               narrow(premultiply(in[2])) + mulAlpha(background >> 16 & 0xFF, rest));
}

// libspng's texts name chunks and fields; the reason is told in the reader's words.
const char *pngError(int error)
{
    switch (error) {
    case SPNG_EMEM:
        return "out of memory";
    case SPNG_EIO:
        return "the PNG data is cut short";
    case SPNG_ESIGNATURE:
        return "not a PNG";
    default:
        return "damaged PNG data";
    }
}

// A context reading data, within the limits of request.
std::unique_ptr<spng_ctx, FreeContext> openPng(const uint8_t *data, std::size_t size, const Request &request)
{
    std::unique_ptr<spng_ctx, FreeContext> context(spng_ctx_new(0));
    spng_ctx *png = context.get();
    if (!png) throw std::bad_alloc();
    spng_set_png_buffer(png, data, size);
    // A damaged text or colour chunk costs its contents, not the picture (as with libpng).
    spng_set_crc_action(png, SPNG_CRC_ERROR, SPNG_CRC_DISCARD);
    spng_set_chunk_limits(png, request.memoryLimit / 4, request.memoryLimit / 4);
    return context;
}

// How the rows are decoded, and how one becomes pixels of the canvas.
struct RowLayout
{
    bool deep = false;   // 16 bits a channel, with alpha
    bool opaque = false; // 8-bit colour without transparency
    // An interlaced picture comes in seven passes over the whole of it; each pass writes its
    // pixels into their places in the row, so the kept rows are kept whole until the end.
    bool interlaced = false;
    int format = SPNG_FMT_RGBA8;
    std::size_t pixelBytes = 4;
    std::size_t rowBytes = 0;
    uint32_t background = 0;

    void convert(int y, const uint8_t *in, Canvas &canvas) const
    {
        const int kept = canvas.width; // a local: the stores below could alias the canvas's own
        uint32_t *out = &canvas.pixels[std::size_t(y) * std::size_t(kept)];
        for (int x = 0; x < kept; ++x, in += pixelBytes) {
            if (deep) {
                out[x] = overDeep(reinterpret_cast<const uint16_t *>(in), background);
            } else if (opaque) {
                out[x] = rgb(in[0], in[1], in[2]);
            } else {
                out[x] = over(in[0], in[1], in[2], in[3], background);
            }
        }
    }
};

// The layout of the rows of the picture header describes.
RowLayout rowLayout(spng_ctx *png, const spng_ihdr &header, uint32_t background)
{
    RowLayout layout;
    layout.deep = header.bit_depth == 16;
    // An 8-bit colour picture without transparency, the common photograph, is read as it is
    // stored: nothing to lay over the background.
    spng_trns transparency{};
    layout.opaque = !layout.deep && header.color_type == SPNG_COLOR_TYPE_TRUECOLOR &&
                    spng_get_trns(png, &transparency) == SPNG_ECHUNKAVAIL;
    layout.interlaced = header.interlace_method != 0;
    layout.format = layout.deep ? SPNG_FMT_RGBA16 : layout.opaque ? SPNG_FMT_RGB8 : SPNG_FMT_RGBA8;
    layout.pixelBytes = layout.deep ? 8 : layout.opaque ? 3 : 4;
    layout.rowBytes = std::size_t(header.width) * layout.pixelBytes;
    layout.background = background;
    return layout;
}

// Decodes row by row into rows (one row; an interlaced picture's kept rows and one for the rest),
// a plain picture's rows straight onto the canvas and only as far down as they are kept.
// Counts the rows decoded in rowsDone; returns what stopped it (SPNG_EOI: the end of the picture).
int decodeRows(spng_ctx *png, const RowLayout &layout, std::vector<uint8_t> &rows, Canvas &canvas, int &rowsDone)
{
    int error = spng_decode_image(png, nullptr, 0, layout.format, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE);
    while (!error) {
        spng_row_info info{};
        if ((error = spng_get_row_info(png, &info))) break;
        const bool kept = int(info.row_num) < canvas.height;
        if (!layout.interlaced && !kept) break;
        uint8_t *row = layout.interlaced ? &rows[layout.rowBytes * (kept ? info.row_num : std::size_t(canvas.height))]
                                         : rows.data();
        error = spng_decode_row(png, row, layout.rowBytes);
        if (error && error != SPNG_EOI) continue;
        ++rowsDone;
        if (!layout.interlaced) layout.convert(int(info.row_num), row, canvas);
    }
    return error;
}

} // namespace

void readPng(const uint8_t *data, std::size_t size, const Request &request, Result &result)
{
    const std::unique_ptr<spng_ctx, FreeContext> context = openPng(data, size, request);
    spng_ctx *png = context.get();
    spng_ihdr header{};
    if (const int error = spng_get_ihdr(png, &header)) {
        result.error = pngError(error);
        return;
    }
    // 16-bit pictures are counted at 8 bytes a pixel, as Qt counted them.
    const int bytesPerPixel = header.bit_depth == 16 ? 8 : 4;
    if (!startCanvas(result, header.width, header.height, request, bytesPerPixel, request.background)) return;
    const RowLayout layout = rowLayout(png, header, request.background);
    Canvas &canvas = result.canvas;
    std::vector<uint8_t> rows(layout.rowBytes * (layout.interlaced ? std::size_t(canvas.height) + 1 : 1));
    int rowsDone = 0;
    const int error = decodeRows(png, layout, rows, canvas, rowsDone);
    const bool whole = error == SPNG_EOI || (!layout.interlaced && rowsDone == canvas.height);
    // Data that ends or breaks off after the first rows: what was read is shown.
    if (whole || rowsDone > 0) {
        if (layout.interlaced)
            for (int y = 0; y < canvas.height; ++y)
                layout.convert(y, &rows[layout.rowBytes * std::size_t(y)], canvas);
        result.incomplete = !whole;
        return;
    }
    result.error = pngError(error);
}

} // namespace decode::detail
