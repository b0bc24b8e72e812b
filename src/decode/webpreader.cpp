// SPDX-License-Identifier: MIT
// WebP through libwebp, cut near the kept part before decoding. An animation shows its first frame
// at its place on the canvas; the rest of the canvas shows the background.
#include "readers.h"

#include <algorithm>
#include <memory>
#include <webp/decode.h>
#include <webp/demux.h>

namespace decode::detail {

namespace {

struct Demuxer
{
    WebPDemuxer *demux = nullptr;
    WebPIterator frame{};
    bool haveFrame = false;
    ~Demuxer()
    {
        if (haveFrame) WebPDemuxReleaseIterator(&frame);
        WebPDemuxDelete(demux);
    }
};

struct Output
{
    WebPDecoderConfig config{};
    ~Output() { WebPFreeDecBuffer(&config.output); }
};

struct DeleteDecoder
{
    void operator()(WebPIDecoder *decoder) const { WebPIDelete(decoder); }
};

const char *reason(VP8StatusCode status)
{
    switch (status) {
    case VP8_STATUS_OUT_OF_MEMORY:
        return "out of memory";
    case VP8_STATUS_INVALID_PARAM:
        return "invalid parameter";
    case VP8_STATUS_BITSTREAM_ERROR:
        return "damaged WebP data";
    case VP8_STATUS_UNSUPPORTED_FEATURE:
        return "a WebP feature not supported";
    case VP8_STATUS_NOT_ENOUGH_DATA:
    case VP8_STATUS_SUSPENDED:
        return "the WebP data is cut short";
    default:
        return "unreadable WebP data";
    }
}

} // namespace

void readWebP(const uint8_t *data, std::size_t size, const Request &request, Result &result)
{
    Demuxer demuxer;
    const WebPData whole{data, size};
    // Data cut short still gives the frames, and the part of a frame, that it holds.
    WebPDemuxState state = WEBP_DEMUX_PARSE_ERROR;
    demuxer.demux = WebPDemuxPartial(&whole, &state);
    if (!demuxer.demux || state < WEBP_DEMUX_PARSED_HEADER) {
        result.error = state == WEBP_DEMUX_PARSING_HEADER ? "the WebP data is cut short" : "damaged WebP data";
        return;
    }
    const long long width = WebPDemuxGetI(demuxer.demux, WEBP_FF_CANVAS_WIDTH);
    const long long height = WebPDemuxGetI(demuxer.demux, WEBP_FF_CANVAS_HEIGHT);
    demuxer.haveFrame = WebPDemuxGetFrame(demuxer.demux, 1, &demuxer.frame) != 0;
    if (!demuxer.haveFrame) {
        result.error = "a WebP without a picture";
        return;
    }
    if (!startCanvas(result, width, height, request, 4, request.background)) return;
    const WebPIterator &frame = demuxer.frame;
    Canvas &canvas = result.canvas;
    // The part of the frame that falls on the kept canvas.
    const int keepWidth = std::min(frame.width, canvas.width - frame.x_offset);
    const int keepHeight = std::min(frame.height, canvas.height - frame.y_offset);
    if (keepWidth <= 0 || keepHeight <= 0) return;

    Output output;
    if (!WebPInitDecoderConfig(&output.config)) {
        result.error = "the WebP library does not match";
        return;
    }
    WebPDecoderConfig &config = output.config;
    // One macroblock beyond the kept part is still decoded: the chroma upsampling of the last kept
    // row and column reads the samples past them, and would otherwise take the cut for the edge.
    const int cropWidth = std::min(frame.width, keepWidth + 16), cropHeight = std::min(frame.height, keepHeight + 16);
    if (cropWidth < frame.width || cropHeight < frame.height) {
        config.options.use_cropping = 1;
        config.options.crop_width = cropWidth;
        config.options.crop_height = cropHeight;
    }
    config.output.colorspace = MODE_RGBA;
    // Decoded incrementally, so that a frame cut short gives the rows before the cut.
    const std::unique_ptr<WebPIDecoder, DeleteDecoder> decoder(WebPIDecode(nullptr, 0, &config));
    if (!decoder) throw std::bad_alloc();
    const VP8StatusCode status = WebPIUpdate(decoder.get(), frame.fragment.bytes, frame.fragment.size);
    int rows = 0;
    if (status == VP8_STATUS_SUSPENDED && WebPIDecGetRGB(decoder.get(), &rows, nullptr, nullptr, nullptr)) {
        result.incomplete = true;
    } else if (status != VP8_STATUS_OK) {
        result.error = reason(status);
        return;
    } else {
        rows = keepHeight;
    }
    const WebPRGBABuffer &pixels = config.output.u.RGBA;
    for (int y = 0; y < std::min(rows, keepHeight); ++y) {
        const uint8_t *in = pixels.rgba + std::size_t(y) * std::size_t(pixels.stride);
        uint32_t *out =
            &canvas.pixels[std::size_t(frame.y_offset + y) * std::size_t(canvas.width) + std::size_t(frame.x_offset)];
        for (int x = 0; x < keepWidth; ++x, in += 4)
            out[x] = over(in[0], in[1], in[2], in[3], request.background);
    }
}

} // namespace decode::detail
