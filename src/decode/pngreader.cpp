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

// 16 bits to 8, rounded as Qt rounds them.
inline uint32_t narrow(uint16_t value)
{
    return (uint32_t(value) - (uint32_t(value) >> 8) + 0x80) >> 8;
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
        result.error = spng_strerror(error);
        return;
    }
    if (!startCanvas(result, header.width, header.height, request, 4, request.background)) return;
    const bool deep = header.bit_depth == 16;
    const int format = deep ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
    const std::size_t pixelBytes = deep ? 8 : 4;
    const std::size_t rowBytes = std::size_t(header.width) * pixelBytes;
    Canvas &canvas = result.canvas;
    // An interlaced picture comes in seven passes over the whole of it; each pass writes its
    // pixels into their places in the row, so the kept rows are kept whole until the end.
    const bool interlaced = header.interlace_method != 0;
    std::vector<uint8_t> rows(rowBytes * (interlaced ? std::size_t(canvas.height) + 1 : 1));
    error = spng_decode_image(png, nullptr, 0, format, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE);
    const auto convert = [&](int y, const uint8_t *in) {
        uint32_t *out = &canvas.pixels[std::size_t(y) * std::size_t(canvas.width)];
        for (int x = 0; x < canvas.width; ++x, in += pixelBytes) {
            if (deep) {
                const auto *wide = reinterpret_cast<const uint16_t *>(in);
                out[x] = over(narrow(wide[0]), narrow(wide[1]), narrow(wide[2]), narrow(wide[3]), request.background);
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
        if ((error && error != SPNG_EOI) || interlaced) continue;
        convert(int(info.row_num), row);
        ++rowsDone;
    }
    if (error == SPNG_EOI || (!interlaced && rowsDone == canvas.height)) {
        if (interlaced)
            for (int y = 0; y < canvas.height; ++y) convert(y, &rows[rowBytes * std::size_t(y)]);
        return;
    }
    result.error = spng_strerror(error);
}

} // namespace decode::detail
