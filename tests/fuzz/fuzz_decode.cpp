// SPDX-License-Identifier: MIT
// Any bytes through the picture decoder (its bitmap reader and orientation finder above all, our
// own parsers of offsets and counts from the file; TIFF, HEIC, AVIF and JPEG XL through their
// libraries): either refused with a reason, or a canvas of the kept size whose every pixel is a
// colour.
#include "decode/decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    decode::Request request;
    request.memoryLimit = std::size_t(16) << 20; // enough for every seed, small enough to stay fast
    request.background = 0x123456;
    const decode::Result result = decode::decodePicture(data, size, request);
    const decode::Canvas &canvas = result.canvas;
    if (!result.ok()) {
        if (!canvas.pixels.empty()) __builtin_trap();
        return 0;
    }
    if (canvas.width != std::min(result.pictureWidth, request.clipWidth) ||
        canvas.height != std::min(result.pictureHeight, request.clipHeight) ||
        canvas.pixels.size() != std::size_t(canvas.width) * std::size_t(canvas.height))
        __builtin_trap();
    for (const uint32_t pixel : canvas.pixels)
        if (pixel > 0xFFFFFF) __builtin_trap();
    return 0;
}
