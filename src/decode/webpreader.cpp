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

// The first frame of a WebP, and what the library holds for it.
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

    // Finds the first frame in whole (whose bytes must outlive this); returns why there is none.
    std::string open(const WebPData &whole)
    {
        // Data cut short still gives the frames, and the part of a frame, that it holds.
        WebPDemuxState state = WEBP_DEMUX_PARSE_ERROR;
        demux = WebPDemuxPartial(&whole, &state);
        if (!demux || state < WEBP_DEMUX_PARSED_HEADER)
            return state == WEBP_DEMUX_PARSING_HEADER ? "the WebP data is cut short" : "damaged WebP data";
        haveFrame = WebPDemuxGetFrame(demux, 1, &frame) != 0;
        return haveFrame ? std::string() : "a WebP without a picture";
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

// Crops the decoding to frame's kept keepWidth x keepHeight and one macroblock beyond: the chroma
// upsampling of the last kept row and column reads the samples past them, and would otherwise take
// the cut for the edge.
void cropNearKept(WebPDecoderConfig &config, const WebPIterator &frame, int keepWidth, int keepHeight)
{
    const int cropWidth = std::min(frame.width, keepWidth + 16), cropHeight = std::min(frame.height, keepHeight + 16);
    if (cropWidth < frame.width || cropHeight < frame.height) {
        config.options.use_cropping = 1;
        config.options.crop_width = cropWidth;
        config.options.crop_height = cropHeight;
    }
}

// Gives frame's data to decoder; returns the rows decoded (keepHeight once the frame is whole), or
// sets result's error and returns 0.
int decodeRows(WebPIDecoder *decoder, const WebPIterator &frame, int keepHeight, Result &result)
{
    const VP8StatusCode status = WebPIUpdate(decoder, frame.fragment.bytes, frame.fragment.size);
    int rows = 0;
    if (status == VP8_STATUS_SUSPENDED && WebPIDecGetRGB(decoder, &rows, nullptr, nullptr, nullptr)) {
        result.incomplete = true;
        return rows;
    }
    if (status != VP8_STATUS_OK) {
        result.error = reason(status);
        return 0;
    }
    return keepHeight;
}

// The first rows x width decoded pixels laid over background at frame's place on the canvas.
void layOnCanvas(const WebPRGBABuffer &pixels, int width, int rows, const WebPIterator &frame, uint32_t background,
                 Canvas &canvas)
{
    for (int y = 0; y < rows; ++y) {
        const uint8_t *in = pixels.rgba + std::size_t(y) * std::size_t(pixels.stride);
        uint32_t *out =
            &canvas.pixels[std::size_t(frame.y_offset + y) * std::size_t(canvas.width) + std::size_t(frame.x_offset)];
        for (int x = 0; x < width; ++x, in += 4)
            out[x] = over(in[0], in[1], in[2], in[3], background);
    }
}

} // namespace

void readWebP(const uint8_t *data, std::size_t size, const Request &request, Result &result)
{
    Demuxer demuxer;
    const WebPData whole{data, size};
    result.error = demuxer.open(whole);
    if (!result.ok()) return;
    const long long width = WebPDemuxGetI(demuxer.demux, WEBP_FF_CANVAS_WIDTH);
    const long long height = WebPDemuxGetI(demuxer.demux, WEBP_FF_CANVAS_HEIGHT);
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
    cropNearKept(output.config, frame, keepWidth, keepHeight);
    output.config.output.colorspace = MODE_RGBA;
    // Decoded incrementally, so that a frame cut short gives the rows before the cut.
    const std::unique_ptr<WebPIDecoder, DeleteDecoder> decoder(WebPIDecode(nullptr, 0, &output.config));
    if (!decoder) throw std::bad_alloc();
    const int rows = decodeRows(decoder.get(), frame, keepHeight, result);
    if (!result.ok()) return;
    layOnCanvas(output.config.output.u.RGBA, keepWidth, std::min(rows, keepHeight), frame, request.background, canvas);
}

} // namespace decode::detail
