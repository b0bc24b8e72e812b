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

} // namespace

void readPng(const uint8_t *data, std::size_t size, const Request &request, Result &result)
{
    const std::unique_ptr<spng_ctx, FreeContext> context(spng_ctx_new(0));
    spng_ctx *png = context.get();
    if (!png) throw std::bad_alloc();
    spng_set_png_buffer(png, data, size);
    // A damaged text or colour chunk costs its contents, not the picture (as with libpng).
    spng_set_crc_action(png, SPNG_CRC_ERROR, SPNG_CRC_DISCARD);
    spng_set_chunk_limits(png, request.memoryLimit / 4, request.memoryLimit / 4);
    spng_ihdr header{};
    int error = spng_get_ihdr(png, &header);
    if (error) {
        result.error = pngError(error);
        return;
    }
    // 16-bit pictures are counted at 8 bytes a pixel, as Qt counted them.
    const bool deep = header.bit_depth == 16;
    if (!startCanvas(result, header.width, header.height, request, deep ? 8 : 4, request.background)) return;
    // An 8-bit colour picture without transparency, the common photograph, is read as it is
    // stored: nothing to lay over the background.
    spng_trns transparency{};
    const bool opaque = !deep && header.color_type == SPNG_COLOR_TYPE_TRUECOLOR &&
                        spng_get_trns(png, &transparency) == SPNG_ECHUNKAVAIL;
    const int format = deep ? SPNG_FMT_RGBA16 : opaque ? SPNG_FMT_RGB8 : SPNG_FMT_RGBA8;
    const std::size_t pixelBytes = deep ? 8 : opaque ? 3 : 4;
    const std::size_t rowBytes = std::size_t(header.width) * pixelBytes;
    Canvas &canvas = result.canvas;
    // An interlaced picture comes in seven passes over the whole of it; each pass writes its
    // pixels into their places in the row, so the kept rows are kept whole until the end.
    const bool interlaced = header.interlace_method != 0;
    std::vector<uint8_t> rows(rowBytes * (interlaced ? std::size_t(canvas.height) + 1 : 1));
    error = spng_decode_image(png, nullptr, 0, format, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE);
    const auto convert = [&](int y, const uint8_t *in) {
        const int kept = canvas.width; // a local: the stores below could alias the canvas's own
        uint32_t *out = &canvas.pixels[std::size_t(y) * std::size_t(kept)];
        for (int x = 0; x < kept; ++x, in += pixelBytes) {
            if (deep) {
                out[x] = overDeep(reinterpret_cast<const uint16_t *>(in), request.background);
            } else if (opaque) {
                out[x] = rgb(in[0], in[1], in[2]);
            } else {
                out[x] = over(in[0], in[1], in[2], in[3], request.background);
            }
        }
    };
    int rowsDone = 0;
    while (!error) {
        spng_row_info info{};
        if ((error = spng_get_row_info(png, &info))) break;
        const bool kept = int(info.row_num) < canvas.height;
        if (!interlaced && !kept) break;
        uint8_t *row = interlaced ? &rows[rowBytes * (kept ? info.row_num : std::size_t(canvas.height))] : rows.data();
        error = spng_decode_row(png, row, rowBytes);
        if (error && error != SPNG_EOI) continue;
        ++rowsDone;
        if (!interlaced) convert(int(info.row_num), row);
    }
    const bool whole = error == SPNG_EOI || (!interlaced && rowsDone == canvas.height);
    // Data that ends or breaks off after the first rows: what was read is shown.
    if (whole || rowsDone > 0) {
        if (interlaced)
            for (int y = 0; y < canvas.height; ++y)
                convert(y, &rows[rowBytes * std::size_t(y)]);
        result.incomplete = !whole;
        return;
    }
    result.error = pngError(error);
}

} // namespace decode::detail
