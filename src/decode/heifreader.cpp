// SPDX-License-Identifier: MIT
// HEIC and AVIF through libheif and the decoders it was built with (libde265, dav1d or aom): the
// primary picture, turned and mirrored as the file says, deeper colours narrowed to 8 bits.
#include "readers.h"

#include <algorithm>
#include <libheif/heif.h>
#include <memory>

namespace decode::detail {

namespace {

struct FreeContext
{
    void operator()(heif_context *context) const { heif_context_free(context); }
};
struct FreeHandle
{
    void operator()(heif_image_handle *handle) const { heif_image_handle_release(handle); }
};
struct FreeImage
{
    void operator()(heif_image *image) const { heif_image_release(image); }
};
struct FreeOptions
{
    void operator()(heif_decoding_options *options) const { heif_decoding_options_free(options); }
};

// libheif's texts name its boxes and plugins; the reason is told in the reader's words.
std::string reason(const heif_error &error, const char *format)
{
    const std::string name = format;
    switch (error.code) {
    case heif_error_Memory_allocation_error:
        return "out of memory";
    case heif_error_Unsupported_filetype:
    case heif_error_Unsupported_feature:
        return "a kind of " + name + " not read here";
    default:
        return error.subcode == heif_suberror_End_of_data ? "the " + name + " data is cut short"
                                                          : "damaged " + name + " data";
    }
}

// Pictures shrunk by a whole factor where the caller scales them down anyway (as JPEGs are): the
// mean of each factor x factor block, fewer at the right and bottom edges.
int shrinkFactor(const Request &request, int width, int height)
{
    if (!request.scaleTarget) return 1;
    const auto [targetWidth, targetHeight] = request.scaleTarget(width, height);
    int factor = 8;
    while (factor > 1 && (width / factor < targetWidth || height / factor < targetHeight))
        factor /= 2;
    return factor;
}

// The decoded RGB or RGBA pixels (as large as the picture) into the canvas: its kept part, or the
// whole picture shrunk for a caller that scales it.
void store(const uint8_t *pixels, std::size_t stride, bool alpha, const Request &request, Result &result)
{
    const int width = result.pictureWidth, height = result.pictureHeight;
    const int factor = shrinkFactor(request, width, height);
    Canvas &canvas = result.canvas;
    if (factor > 1) {
        canvas.width = (width + factor - 1) / factor;
        canvas.height = (height + factor - 1) / factor;
    }
    canvas.pixels.assign(std::size_t(canvas.width) * std::size_t(canvas.height), 0);
    const std::size_t channels = alpha ? 4 : 3;
    for (int y = 0; y < canvas.height; ++y) {
        uint32_t *out = &canvas.pixels[std::size_t(y) * std::size_t(canvas.width)];
        const int top = y * factor, bottom = std::min(height, top + factor);
        for (int x = 0; x < canvas.width; ++x) {
            const int left = x * factor, right = std::min(width, left + factor);
            uint32_t sum[4] = {0, 0, 0, 0};
            for (int row = top; row < bottom; ++row) {
                const uint8_t *in = pixels + std::size_t(row) * stride + std::size_t(left) * channels;
                for (int column = left; column < right; ++column, in += channels)
                    for (std::size_t c = 0; c < channels; ++c)
                        sum[c] += in[c];
            }
            const uint32_t count = uint32_t((bottom - top) * (right - left)), half = count / 2;
            const auto mean = [&](int c) { return (sum[c] + half) / count; };
            out[x] = over(mean(0), mean(1), mean(2), alpha ? mean(3) : 255, request.background);
        }
    }
}

} // namespace

void readHeif(const uint8_t *data, std::size_t size, const Request &request, Result &result)
{
    const char *format = formatName(result.format);
    const std::unique_ptr<heif_context, FreeContext> context(heif_context_alloc());
    if (!context) throw std::bad_alloc();
    heif_error error = heif_context_read_from_memory_without_copy(context.get(), data, size, nullptr);
    heif_image_handle *rawHandle = nullptr;
    if (error.code == heif_error_Ok) error = heif_context_get_primary_image_handle(context.get(), &rawHandle);
    const std::unique_ptr<heif_image_handle, FreeHandle> handle(rawHandle);
    if (error.code != heif_error_Ok) {
        result.error = reason(error, format);
        return;
    }
    // The size once turned, as it is decoded. The whole picture is decoded first, and converted to
    // RGB beside its YCbCr planes: 8 bytes a pixel are counted, the decoder's own buffers aside.
    if (!startCanvas(result, heif_image_handle_get_width(handle.get()), heif_image_handle_get_height(handle.get()),
                     request, 8, request.background))
        return;
    // Made again once decoded, at the size kept: a canvas of the whole picture would sit beside the
    // decoder's buffers for nothing when the picture is shrunk.
    std::vector<uint32_t>().swap(result.canvas.pixels);
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get());
    const std::unique_ptr<heif_decoding_options, FreeOptions> options(heif_decoding_options_alloc());
    if (!options) throw std::bad_alloc();
    options->convert_hdr_to_8bit = 1;
    heif_image *rawImage = nullptr;
    error = heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                              alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    const std::unique_ptr<heif_image, FreeImage> image(rawImage);
    if (error.code != heif_error_Ok) {
        result.error = reason(error, format);
        return;
    }
    int stride = 0;
    const uint8_t *pixels = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int decodedWidth = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int decodedHeight = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (!pixels) {
        result.error = "damaged " + std::string(format) + " data";
        return;
    }
    // The size decoded is what counts, should turning or cropping make it differ.
    if ((decodedWidth != result.pictureWidth || decodedHeight != result.pictureHeight) &&
        !startCanvas(result, decodedWidth, decodedHeight, request, 8, request.background))
        return;
    store(pixels, std::size_t(stride), alpha, request, result);
}

} // namespace decode::detail
