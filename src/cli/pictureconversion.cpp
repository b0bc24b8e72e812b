// SPDX-License-Identifier: MIT
#include "pictureconversion.h"

#include "interruption.h"
#include "pictureinput.h"

#include "engine/failure.h"
#include "engine/pagecommit.h"
#include "engine/pagefile.h"
#include "engine/pageformat.h"
#include "engine/terminaltext.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

namespace {

const std::string kStandardOutput = "standard output";

class NoEvents : public engine::ScanHost
{
public:
    void processEvents() override {}
};

// True when fd is a pipe whose reader is gone: the run then ends quietly, as a filter does.
bool readerGone(int fd)
{
    struct stat info
    {
    };
    pollfd probe{fd, POLLOUT, 0};
    return ::fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode) && ::poll(&probe, 1, 0) == 1 && (probe.revents & POLLERR);
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
    const std::string &pictureName = picture == "-" ? kStandardInput : picture;
    LoadedPicture loaded;
    if (!readPicture(picture, job, loaded, result)) return result;
    engine::GridPixelSource pixels(loaded.pixels);

    const PageTarget target = pageTarget(picture, job);
    std::optional<engine::PageFile> page;
    std::optional<InterruptionGuard> recorded; // until the page is whole or removed
    int stream = target == PageTarget::StandardOutput ? STDOUT_FILENO : -1;
    if (target == PageTarget::Beside) order.waitFor(index);
    if (target == PageTarget::OutputFile) {
        // Outside the claim: opening a FIFO waits for its reader.
        std::string reason;
        stream = engine::openOutputStream(job.output, reason);
        if (!reason.empty()) {
            say(result, job.output, reason);
            return result;
        }
    }
    try {
        const ClaimSection claim;
        if (claim.stopping()) return result;
        if (target == PageTarget::Beside) {
            page = engine::claimNextFreePage(picture, engine::pageExtension(loaded.settings.page.format));
            if (!page) {
                say(result, pictureName, "no free page name: the names numbered 1 to 100 beside it are all taken");
                return result;
            }
            engine::stageBeside(*page);
        } else if (target == PageTarget::OutputFile && stream < 0) {
            page = engine::stageReplacement(job.output);
        }
        if (page) recorded.emplace(*page);
    } catch (const engine::Failure &failure) {
        say(result, pictureName, failure.what());
        return result;
    }
    turn.pass(); // the name is claimed, or there is none to claim
    const std::string &streamName = target == PageTarget::OutputFile ? job.output : kStandardOutput;
    bool written = writePage(loaded, pixels, page, {stream, streamName, pictureName}, result);
    // The reader of the page has gone: nothing to say, as a filter would not.
    if (!written && stream >= 0 && readerGone(stream)) result.messages.clear();
    // A device may report only on closing that what it was given did not land.
    if (stream >= 0 && stream != STDOUT_FILENO && ::close(stream) != 0 && written) {
        const int error = errno;
        say(result, pictureName, "Cannot write \"" + streamName + "\": " + std::strerror(error));
        written = false;
    }
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
