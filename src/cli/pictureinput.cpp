// SPDX-License-Identifier: MIT
// The picture read as the job asks: from a file or standard input, cut to the box or scaled, and
// fitted to a terminal it is shown on.
#include "pictureinput.h"

#include "decode/decode.h"
#include "engine/failure.h"
#include "engine/pagecommit.h"
#include "engine/terminaltext.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace cli {

const std::string kStandardInput = "standard input";

namespace {

// More than this on standard input is not taken for a picture.
constexpr std::size_t kStandardInputLimit = 256 * 1024 * 1024;
bool readStandardInput(std::vector<uint8_t> &bytes, std::string &reason)
{
    uint8_t chunk[65536];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n == 0) return true;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            reason = std::strerror(errno);
            return false;
        }
        if (bytes.size() + std::size_t(n) > kStandardInputLimit) {
            reason = "more than " + std::to_string(kStandardInputLimit >> 20) + " MiB";
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
}

// What the decoder is asked for: the top-left of the picture the 300 x 300 box shows, or the
// whole picture for scaling (a JPEG already shrunk towards the size it is scaled to). Transparent
// parts show the box's white background, as in the window.
decode::Request decodeRequest(const ConvertJob &job, const engine::SizeRequest &scaling)
{
    decode::Request request;
    request.background = 0xFFFFFF;
    if (scaling.any()) {
        request.clipWidth = request.clipHeight = 0;
        request.scaleTarget = [&job, scaling](int width, int height) {
            const engine::PixelSize size = engine::scaledSize({width, height}, scaling, job.settings.squareCells());
            return std::pair{size.width, size.height};
        };
    }
    return request;
}

bool loadPicture(decode::Result &decoded, const std::string &picture, const ConvertJob &job,
                 const engine::SizeRequest &scaling, LoadedPicture &loaded, PictureResult &result)
{
    if (!decoded.ok()) {
        say(result, picture, "not a readable picture (" + decoded.error + ")");
        return false;
    }
    if (decoded.incomplete) say(result, picture, "damaged: converted what could be read");
    loaded.settings = job.settings;
    decode::Canvas &canvas = decoded.canvas;
    if (!scaling.any()) {
        const int side = engine::kDrawingAreaSize;
        if (canvas.width == side && canvas.height == side) { // the box's area whole: taken as it is
            loaded.pixels = {side, side, std::move(canvas.pixels)};
            return true;
        }
        loaded.pixels = {side, side, std::vector<uint32_t>(std::size_t(side) * side, 0xFFFFFF)};
        for (int y = 0; y < canvas.height; ++y)
            std::copy_n(&canvas.pixels[std::size_t(y) * canvas.width], canvas.width,
                        &loaded.pixels.pixels[std::size_t(y) * side]);
        return true;
    }
    const engine::PixelSize size =
        engine::scaledSize({decoded.pictureWidth, decoded.pictureHeight}, scaling, job.settings.squareCells());
    loaded.pixels = engine::scalePixels({canvas.pixels.data(), canvas.width, canvas.height, canvas.width}, size);
    engine::RenderArea &area = loaded.settings.area;
    if (!job.areaGiven) area = {0, 0, int16_t(size.width), int16_t(size.height)};
    if (!engine::areaWithin(area, size)) {
        say(result, picture,
            "the area \"" + std::to_string(area.x1) + " " + std::to_string(area.y1) + " " + std::to_string(area.x2) +
                " " + std::to_string(area.y2) + "\" does not lie within the picture scaled to " +
                std::to_string(size.width) + " x " + std::to_string(size.height));
        return false;
    }
    loaded.settings.pixelCount = area.pixelCount();
    return true;
}

// A terminal page seen on a terminal: fitted to it when no size or area was asked for (a line
// left for the prompt that follows), in 256 colours unless the terminal says it takes more.
bool onTerminal(const std::string &picture, const ConvertJob &job)
{
    return job.terminal.isTerminal && pageTarget(picture, job) == PageTarget::StandardOutput &&
           job.settings.page.format != engine::PageFormat::Html;
}

engine::SizeRequest sizeRequest(const std::string &picture, const ConvertJob &job)
{
    engine::SizeRequest scaling = job.size;
    if (!scaling.any() && !job.areaGiven && onTerminal(picture, job))
        scaling.cells = {job.terminal.cells.width, std::max(1, job.terminal.cells.height - 1)};
    return scaling;
}

engine::ColorDepth colorDepth(const std::string &picture, const ConvertJob &job)
{
    if (job.colorDepth) return *job.colorDepth;
    return onTerminal(picture, job) && !job.terminal.fullColor ? engine::ColorDepth::Palette : engine::ColorDepth::Full;
}

} // namespace

void say(PictureResult &result, const std::string &subject, const std::string &message)
{
    result.messages += "lumirune-convert: " + engine::shellQuoted(subject) + ": " + engine::escapedText(message) + "\n";
}

bool readPicture(const std::string &picture, const ConvertJob &job, LoadedPicture &loaded, PictureResult &result)
{
    const bool fromInput = picture == "-";
    const std::string &pictureName = fromInput ? kStandardInput : picture;
    const engine::SizeRequest scaling = sizeRequest(picture, job);
    decode::Result decoded;
    std::string reason;
    if (fromInput) {
        std::vector<uint8_t> bytes;
        if (!readStandardInput(bytes, reason)) {
            say(result, kStandardInput, "not a readable picture (" + reason + ")");
            return false;
        }
        decoded = decode::decodePicture(bytes.data(), bytes.size(), decodeRequest(job, scaling));
    } else {
        // A page beside a picture named in /dev (through a link, say) would be made there.
        try {
            if (pageTarget(picture, job) == PageTarget::Beside) engine::refuseSystemFolder(picture);
        } catch (const engine::Failure &failure) {
            say(result, pictureName, failure.what());
            return false;
        }
        const int fd = decode::openPictureFile(picture, reason);
        if (fd < 0) {
            say(result, pictureName, reason);
            return false;
        }
        decoded = decode::decodeFile(fd, decodeRequest(job, scaling));
        ::close(fd);
    }
    if (!loadPicture(decoded, pictureName, job, scaling, loaded, result)) return false;
    loaded.settings.page.colorDepth = colorDepth(picture, job);
    return true;
}

} // namespace cli
