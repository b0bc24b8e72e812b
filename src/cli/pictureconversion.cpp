// SPDX-License-Identifier: MIT
#include "pictureconversion.h"

#include "interruption.h"

#include "decode/decode.h"
#include "engine/failure.h"
#include "engine/pagecommit.h"
#include "engine/pagefile.h"
#include "engine/pageformat.h"
#include "engine/terminaltext.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

namespace {

// More than this on standard input is not taken for a picture.
constexpr std::size_t kStandardInputLimit = 256 * 1024 * 1024;
const std::string kStandardInput = "standard input";
const std::string kStandardOutput = "standard output";

class NoEvents : public engine::ScanHost
{
public:
    void processEvents() override {}
};

void say(PictureResult &result, const std::string &subject, const std::string &message)
{
    result.messages += "lumirune-convert: " + engine::shellQuoted(subject) + ": " + engine::escapedText(message) + "\n";
}

// True when fd is a pipe whose reader is gone: the run then ends quietly, as a filter does.
bool readerGone(int fd)
{
    struct stat info
    {
    };
    pollfd probe{fd, POLLOUT, 0};
    return ::fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode) && ::poll(&probe, 1, 0) == 1 && (probe.revents & POLLERR);
}

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

// The picture's pixels and the settings that go with them: the area of the box as the window
// shows the picture, or the whole picture scaled.
struct LoadedPicture
{
    engine::PixelGrid pixels;
    engine::ScanSettings settings;
};

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

// Passes the picture's turn to claim a name on every way out.
class Turn
{
public:
    Turn(ClaimOrder &order, int index) : m_order(order), m_index(index) {}
    ~Turn() { pass(); }
    void pass()
    {
        if (!m_passed) m_order.pass(m_index);
        m_passed = true;
    }

private:
    ClaimOrder &m_order;
    int m_index;
    bool m_passed = false;
};

// Converts into the staged page, moved to its name when whole, or onto the stream.
// Failures on a stream name the picture.
struct Stream
{
    int fd;
    const std::string &name;
    const std::string &picture;
};

bool writePage(LoadedPicture &loaded, engine::GridPixelSource &pixels, std::optional<engine::PageFile> &page,
               const Stream &stream, PictureResult &result)
{
    engine::Conversion conversion(loaded.settings);
    NoEvents host;
    std::optional<InterruptionGuard> guard;
    if (page) guard.emplace(*page);
    try {
        if (page)
            conversion.startDocument(*page);
        else
            conversion.startDocumentOn(stream.fd, stream.name);
        conversion.Loopconvert(pixels, host);
    } catch (const engine::Failure &failure) {
        // The writer names the page; for a stream, say which picture it was.
        say(result, page ? page->path() : stream.picture, failure.what());
        return false;
    }
    return true;
}

} // namespace

void ClaimOrder::waitFor(int index)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return m_next >= index; });
}

void ClaimOrder::pass(int index)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_passed.size() <= std::size_t(index)) m_passed.resize(index + 1);
    m_passed[index] = true;
    while (std::size_t(m_next) < m_passed.size() && m_passed[m_next])
        ++m_next;
    m_changed.notify_all();
}

PageTarget pageTarget(const std::string &picture, const ConvertJob &job)
{
    if (job.output == "-" || (picture == "-" && job.output.empty())) return PageTarget::StandardOutput;
    return job.output.empty() ? PageTarget::Beside : PageTarget::OutputFile;
}

PictureResult convertPicture(const std::string &picture, const ConvertJob &job, int index, ClaimOrder &order)
{
    PictureResult result;
    Turn turn(order, index);
    const bool fromInput = picture == "-";
    const std::string &pictureName = fromInput ? kStandardInput : picture;
    LoadedPicture loaded;
    const engine::SizeRequest scaling = sizeRequest(picture, job);
    {
        decode::Result decoded;
        std::string reason;
        if (fromInput) {
            std::vector<uint8_t> bytes;
            if (!readStandardInput(bytes, reason)) {
                say(result, kStandardInput, "not a readable picture (" + reason + ")");
                return result;
            }
            decoded = decode::decodePicture(bytes.data(), bytes.size(), decodeRequest(job, scaling));
        } else {
            // A page beside a picture named in /dev (through a link, say) would be made there.
            try {
                if (pageTarget(picture, job) == PageTarget::Beside) engine::refuseSystemFolder(picture);
            } catch (const engine::Failure &failure) {
                say(result, pictureName, failure.what());
                return result;
            }
            const int fd = engine::openPictureFile(picture, reason);
            if (fd < 0) {
                say(result, pictureName, reason);
                return result;
            }
            decoded = decode::decodeFile(fd, decodeRequest(job, scaling));
            ::close(fd);
        }
        if (!loadPicture(decoded, pictureName, job, scaling, loaded, result)) return result;
    }
    loaded.settings.page.colorDepth = colorDepth(picture, job);
    engine::GridPixelSource pixels(loaded.pixels);

    const PageTarget target = pageTarget(picture, job);
    std::optional<engine::PageFile> page;
    int stream = target == PageTarget::StandardOutput ? STDOUT_FILENO : -1;
    try {
        if (target == PageTarget::Beside) {
            order.waitFor(index);
            page = engine::claimNextFreePage(picture, engine::pageExtension(loaded.settings.page.format));
            if (!page) {
                say(result, pictureName, "no free page name: the names numbered 1 to 100 beside it are all taken");
                return result;
            }
            engine::stageBeside(*page);
        } else if (target == PageTarget::OutputFile) {
            std::string reason;
            stream = engine::openOutputStream(job.output, reason);
            if (!reason.empty()) {
                say(result, job.output, reason);
                return result;
            }
            if (stream < 0) page = engine::stageReplacement(job.output);
        }
    } catch (const engine::Failure &failure) {
        say(result, pictureName, failure.what());
        return result;
    }
    turn.pass(); // the name is claimed, or there is none to claim
    const std::string &streamName = target == PageTarget::OutputFile ? job.output : kStandardOutput;
    const bool written = writePage(loaded, pixels, page, {stream, streamName, pictureName}, result);
    // The reader of the page has gone: nothing to say, as a filter would not.
    if (!written && stream >= 0 && readerGone(stream)) result.messages.clear();
    if (stream >= 0 && stream != STDOUT_FILENO) ::close(stream);
    if (!written) {
        // A half-written page is of no use to a batch; only what this run created is removed.
        if (page) engine::removeCreatedPage(*page);
        return result;
    }
    if (target == PageTarget::OutputFile || page)
        result.pageName = engine::shellQuoted(page ? page->path() : job.output) + "\n";
    result.written = true;
    return result;
}

} // namespace cli
