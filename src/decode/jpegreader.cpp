// SPDX-License-Identifier: MIT
// JPEG through libjpeg-turbo: only the rows and columns kept are decoded, within this decoder's
// own memory limit, and a progressive picture with more scans than allowed is refused.
#include "readers.h"

#include <climits>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <jerror.h>
#include <jpeglib.h>

namespace decode::detail {

namespace {

struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX]; // ours: libjpeg's own texts are not shown
    bool outOfMemory;
};

// libjpeg's failures in the reader's words.
const char *jpegError(int code)
{
    switch (code) {
    case JERR_SOF_UNSUPPORTED:
    case JERR_NOT_COMPILED:
    case JERR_BAD_PRECISION:
    case JERR_ARITH_NOTIMPL:
        return "a kind of JPEG not read here";
    case JERR_INPUT_EMPTY:
    case JERR_INPUT_EOF:
    case JERR_NO_IMAGE:
        return "the JPEG data is cut short";
    case JERR_OUT_OF_MEMORY:
        return "out of memory";
    default:
        return "damaged JPEG data";
    }
}

[[noreturn]] void fail(j_common_ptr info)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    errors->outOfMemory = errors->base.msg_code == JERR_OUT_OF_MEMORY || errors->base.msg_code == JERR_NO_BACKING_STORE;
    std::snprintf(errors->message, sizeof errors->message, "%s", jpegError(errors->base.msg_code));
    std::longjmp(errors->jump, 1);
}

// Warnings (a picture cut short, corrupt data) are what libjpeg recovers from, as Qt's reader did.
void ignore(j_common_ptr, int) {}

struct Progress
{
    jpeg_progress_mgr base;
    long long blocksLeft; // blocks the scans may still pass over
    int scanCounted;      // the last scan whose blocks were counted
};

[[noreturn]] void refuse(j_common_ptr info, const char *format, long long limit)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    std::snprintf(errors->message, sizeof errors->message, format, limit);
    errors->outOfMemory = false;
    std::longjmp(errors->jump, 2);
}

// Each scan passes over every block of its components, however little data it holds: the work
// is bounded by scans times blocks. (The number of scans is limited before decoding starts, from
// the markers.)
void checkScans(j_common_ptr info)
{
    auto *progress = reinterpret_cast<Progress *>(info->progress);
    const auto *picture = reinterpret_cast<j_decompress_ptr>(info);
    if (picture->input_scan_number == progress->scanCounted) return;
    progress->scanCounted = picture->input_scan_number;
    for (int i = 0; i < picture->comps_in_scan; ++i) {
        const jpeg_component_info *component = picture->cur_comp_info[i];
        progress->blocksLeft -= (long long)component->width_in_blocks * component->height_in_blocks;
    }
    if (progress->blocksLeft < 0)
        refuse(info, "a progressive JPEG whose scans pass over more than %lld blocks", kMaxJpegScanBlocks);
}

// Everything between setjmp and a longjmp out of libjpeg lives in this frame or in plain C
// structures, so that no destructor is skipped.
bool decodeRows(jpeg_decompress_struct &info, ErrorManager &errors, const uint8_t *data, std::size_t size,
                const Request &request, Result &result)
{
    if (setjmp(errors.jump)) return false;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        info.out_color_space = JCS_CMYK;
    else // four bytes a pixel that read as one 0xXXBBGGRR word in this machine's byte order
        info.out_color_space = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? JCS_EXT_RGBX : JCS_EXT_XBGR;
    if (request.scaleTarget) {
        // libjpeg scales in its inverse DCT, by 1/k, to ceil(side / k).
        const auto [width, height] = request.scaleTarget(int(info.image_width), int(info.image_height));
        unsigned k = 8;
        while (k > 1 && (info.image_width / k < unsigned(width) || info.image_height / k < unsigned(height)))
            k /= 2;
        info.scale_num = 1;
        info.scale_denom = k;
    }
    jpeg_calc_output_dimensions(&info);
    // libjpeg makes up the rows a file lacks; should it stop early, the rest stay black.
    if (!startCanvas(result, info.output_width, info.output_height, request, 0, 0)) return true;
    result.pictureWidth = int(info.image_width);
    result.pictureHeight = int(info.image_height);
    jpeg_start_decompress(&info);
    // Columns beyond the kept ones are skipped, but one whole iMCU past them is still decoded: the
    // chroma upsampling of the last kept column reads the samples beside it, and would otherwise
    // take the cut for the picture's edge.
    const JDIMENSION imcu = JDIMENSION(info.max_h_samp_factor * info.min_DCT_scaled_size);
    JDIMENSION left = 0, width = JDIMENSION(result.canvas.width) + imcu;
    if (width < info.output_width) jpeg_crop_scanline(&info, &left, &width);
    // libjpeg-turbo writes a row that starts on a 32-byte boundary past the cache (streaming
    // stores), and each row is read back at once: one pixel off the boundary keeps it in the cache.
    auto row = static_cast<JSAMPROW>((*info.mem->alloc_small)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                              std::size_t(info.output_width) * 4 + 64));
    row += (36 - reinterpret_cast<std::uintptr_t>(row) % 32) % 32; // 4 past a boundary
    Canvas &canvas = result.canvas;
    const bool cmyk = info.out_color_space == JCS_CMYK;
    const int kept = canvas.width; // a local: the stores below could alias the canvas's own
    for (int y = 0; y < canvas.height; ++y) {
        if (jpeg_read_scanlines(&info, &row, 1) != 1) break;
        uint32_t *out = &canvas.pixels[std::size_t(y) * std::size_t(canvas.width)];
        const uint8_t *in = row;
        if (cmyk) {
            for (int x = 0; x < kept; ++x, in += 4) { // stored inverted, as Adobe writes it
                const uint32_t k = in[3];
                out[x] = rgb(k * in[0] / 255, k * in[1] / 255, k * in[2] / 255);
            }
        } else {
            for (int x = 0; x < kept; ++x, in += 4) {
                uint32_t word;
                std::memcpy(&word, in, 4);
                out[x] = word & 0xFFFFFF;
            }
        }
    }
    return true;
}

struct Decompressor
{
    jpeg_decompress_struct info;
    ~Decompressor() { jpeg_destroy_decompress(&info); }
};

} // namespace

void readJpeg(const uint8_t *data, std::size_t size, const Request &request, Result &result)
{
    Decompressor decompressor;
    jpeg_decompress_struct &info = decompressor.info;
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = fail;
    errors.base.emit_message = ignore;
    Progress progress{};
    progress.base.progress_monitor = checkScans;
    progress.blocksLeft = kMaxJpegScanBlocks;
    jpeg_create_decompress(&info);
    info.progress = &progress.base;
    // Per decoder; past it libjpeg fails instead of growing.
    info.mem->max_memory_to_use = long(std::min<std::size_t>(request.memoryLimit, LONG_MAX));
    if (!decodeRows(info, errors, data, size, request, result)) {
        result.error = errors.outOfMemory && info.image_width ? tooLarge(info.image_width, info.image_height, request)
                                                              : errors.message;
    }
}

} // namespace decode::detail
