// SPDX-License-Identifier: MIT
// TIFF through libtiff: the first page, in any layout libtiff's RGBA interface turns into colours
// (palette, grey, RGB, CMYK, YCbCr, 16 bits a sample, strips or tiles), only the kept rows and
// columns.
#include "readers.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <tiffio.h>

namespace decode::detail {

namespace {

struct Memory
{
    const uint8_t *data;
    std::size_t size;
    std::size_t at;
};

tmsize_t readMemory(thandle_t handle, void *into, tmsize_t wanted)
{
    auto *memory = static_cast<Memory *>(handle);
    if (wanted <= 0 || memory->at >= memory->size) return 0;
    const std::size_t count = std::min(std::size_t(wanted), memory->size - memory->at);
    std::memcpy(into, memory->data + memory->at, count);
    memory->at += count;
    return tmsize_t(count);
}

tmsize_t writeNothing(thandle_t, void *, tmsize_t)
{
    return -1;
}

toff_t seekMemory(thandle_t handle, toff_t offset, int whence)
{
    auto *memory = static_cast<Memory *>(handle);
    const toff_t base = whence == SEEK_CUR ? memory->at : whence == SEEK_END ? memory->size : 0;
    if (offset > toff_t(INT64_MAX) - base) return toff_t(-1);
    memory->at = std::size_t(std::min<toff_t>(base + offset, memory->size));
    return memory->at;
}

int closeMemory(thandle_t)
{
    return 0;
}

toff_t memorySize(thandle_t handle)
{
    return static_cast<Memory *>(handle)->size;
}

// libtiff's texts name its own internals; whether it failed is all that is kept.
int quiet(TIFF *, void *, const char *, const char *, va_list)
{
    return 1;
}

struct Close
{
    void operator()(TIFF *tiff) const { TIFFClose(tiff); }
};

struct FreeOptions
{
    void operator()(TIFFOpenOptions *options) const { TIFFOpenOptionsFree(options); }
};

struct RgbaImage
{
    TIFFRGBAImage image{};
    bool begun = false;
    ~RgbaImage()
    {
        if (begun) TIFFRGBAImageEnd(&image);
    }
};

} // namespace

void readTiff(const uint8_t *data, std::size_t size, const Request &request, Result &result)
{
    Memory memory{data, size, 0};
    const std::unique_ptr<TIFFOpenOptions, FreeOptions> options(TIFFOpenOptionsAlloc());
    if (!options) throw std::bad_alloc();
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), tmsize_t(request.memoryLimit));
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), quiet, nullptr);
    // "m": no memory mapping, the bytes are already in memory and read through readMemory.
    const std::unique_ptr<TIFF, Close> file(TIFFClientOpenExt("picture", "rm", &memory, readMemory, writeNothing,
                                                              seekMemory, closeMemory, memorySize, nullptr, nullptr,
                                                              options.get()));
    if (!file) {
        result.error = "damaged TIFF data";
        return;
    }
    RgbaImage rgba;
    char reason[1024];
    if (!TIFFRGBAImageOK(file.get(), reason) || !TIFFRGBAImageBegin(&rgba.image, file.get(), 0, reason)) {
        result.error = "a kind of TIFF not read here";
        return;
    }
    rgba.begun = true;
    TIFFRGBAImage &image = rgba.image;
    // Read into the canvas as 0xAABBGGRR, colours premultiplied, then laid over the background in
    // place; what cannot be read stays black.
    if (!startCanvas(result, image.width, image.height, request, 4, 0xFF000000)) return;
    // Rows as stored: the orientation is applied afterwards, as for every other format.
    image.req_orientation = image.orientation;
    Canvas &canvas = result.canvas;
    result.incomplete =
        !TIFFRGBAImageGet(&image, canvas.pixels.data(), uint32_t(canvas.width), uint32_t(canvas.height));
    const uint32_t background = request.background;
    for (uint32_t &p : canvas.pixels) {
        const uint32_t rest = 255 - (p >> 24);
        p = rest == 0 ? p & 0xFFFFFF
                      : rgb((p & 0xFF) + mulAlpha(background & 0xFF, rest),
                            (p >> 8 & 0xFF) + mulAlpha(background >> 8 & 0xFF, rest),
                            (p >> 16 & 0xFF) + mulAlpha(background >> 16 & 0xFF, rest));
    }
}

} // namespace decode::detail
