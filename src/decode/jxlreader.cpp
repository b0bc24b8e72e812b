// SPDX-License-Identifier: MIT
// JPEG XL through libjxl: the first frame, upright as the file says, its rows handed over as they
// are decoded so that only the kept part is stored.
#include "readers.h"

#include <algorithm>
#include <jxl/decode.h>
#include <memory>

namespace decode::detail {

namespace {

struct Destroy
{
    void operator()(JxlDecoder *decoder) const { JxlDecoderDestroy(decoder); }
};

struct Output
{
    Canvas *canvas;
    uint32_t background;
};

// A run of num pixels of 8-bit RGBA from (x, y) of the upright picture.
void store(void *opaque, std::size_t x, std::size_t y, std::size_t num, const void *pixels)
{
    const auto *output = static_cast<const Output *>(opaque);
    Canvas &canvas = *output->canvas;
    if (y >= std::size_t(canvas.height) || x >= std::size_t(canvas.width)) return;
    const auto *in = static_cast<const uint8_t *>(pixels);
    uint32_t *out = &canvas.pixels[y * std::size_t(canvas.width) + x];
    const std::size_t count = std::min(num, std::size_t(canvas.width) - x);
    for (std::size_t i = 0; i < count; ++i, in += 4)
        out[i] = over(in[0], in[1], in[2], in[3], output->background);
}

} // namespace

void readJxl(const uint8_t *data, std::size_t size, const Request &request, Result &result)
{
    const std::unique_ptr<JxlDecoder, Destroy> owner(JxlDecoderCreate(nullptr));
    JxlDecoder *decoder = owner.get();
    if (!decoder) throw std::bad_alloc();
    if (JxlDecoderSubscribeEvents(decoder, JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(decoder, data, size) != JXL_DEC_SUCCESS) {
        result.error = "the JPEG XL library does not match";
        return;
    }
    // The input is left open: closed, data cut short is a failure that libjxl reports on standard
    // error in its own words, where open it asks for more, which tells the cut.
    const JxlPixelFormat format{4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    Output output{&result.canvas, request.background};
    bool started = false; // pixels are on their way into the canvas
    for (;;) {
        const JxlDecoderStatus status = JxlDecoderProcessInput(decoder);
        if (status == JXL_DEC_BASIC_INFO) {
            JxlBasicInfo info;
            if (JxlDecoderGetBasicInfo(decoder, &info) != JXL_DEC_SUCCESS) break;
            // The stored size; turned a quarter, the other way round.
            const bool turned = info.orientation >= JXL_ORIENT_TRANSPOSE;
            if (!startCanvas(result, turned ? info.ysize : info.xsize, turned ? info.xsize : info.ysize, request, 4,
                             request.background))
                return;
        } else if (status == JXL_DEC_NEED_IMAGE_OUT_BUFFER) {
            if (JxlDecoderSetImageOutCallback(decoder, &format, store, &output) != JXL_DEC_SUCCESS) break;
            started = true;
        } else if (status == JXL_DEC_FULL_IMAGE || status == JXL_DEC_SUCCESS) {
            return; // the first frame is all that is shown
        } else if (status == JXL_DEC_NEED_MORE_INPUT && started) {
            // Cut short: what has been decoded so far is kept.
            result.incomplete = true;
            JxlDecoderFlushImage(decoder);
            return;
        } else if (status == JXL_DEC_NEED_MORE_INPUT) {
            result.error = "the JPEG XL data is cut short";
            return;
        } else if (status != JXL_DEC_FRAME && status != JXL_DEC_COLOR_ENCODING) {
            break;
        }
    }
    result.error = "damaged JPEG XL data";
}

} // namespace decode::detail
