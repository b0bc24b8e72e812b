// SPDX-License-Identifier: MIT
#include "pictureconversion.h"

#include "engine/failure.h"
#include "engine/pagefile.h"
#include "engine/pageformat.h"
#include "platform/picturefile.h"

#include <QBuffer>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

namespace {

// More than this on standard input is not taken for a picture.
constexpr qint64 kStandardInputLimit = 256 * 1024 * 1024;
const QString kStandardInput = "standard input";
const std::string kStandardOutput = "standard output";

class NoEvents : public engine::ScanHost
{
public:
    void processEvents() override {}
};

void say(PictureResult &result, const QString &subject, const QString &message)
{
    result.messages += ("lumirune-convert: " + subject + ": " + message + "\n").toLocal8Bit();
}

bool readStandardInput(QByteArray &bytes, QString &reason)
{
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n == 0) return true;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            reason = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        if (bytes.size() + n > kStandardInputLimit) {
            reason = QString("more than %1 MiB").arg(kStandardInputLimit >> 20);
            return false;
        }
        bytes.append(chunk, n);
    }
}

// The picture's pixels and the settings that go with them: the area of the box as the window
// shows the picture, or the whole picture scaled.
struct LoadedPicture
{
    std::unique_ptr<engine::PixelSource> pixels;
    engine::PixelGrid scaled;
    engine::ScanSettings settings;
};

bool loadPicture(QIODevice *device, const QString &picture, const ConvertJob &job, LoadedPicture &loaded,
                 PictureResult &result)
{
    QString reason;
    bool incomplete = false;
    loaded.settings = job.settings;
    if (!job.size.any()) {
        const QImage image = platform::readPicture(device, &reason, &incomplete);
        if (image.isNull()) {
            say(result, picture, "not a readable picture (" + reason + ")");
            return false;
        }
        if (incomplete) say(result, picture, "damaged: converted what could be read");
        loaded.pixels = std::make_unique<platform::ImagePixelSource>(platform::composeDrawingArea(image));
        return true;
    }
    const bool twoChars = job.settings.twoCharsPerPixel;
    loaded.scaled = platform::readScaledPicture(
        device, [&](engine::PixelSize size) { return engine::scaledSize(size, job.size, twoChars); }, &reason,
        &incomplete);
    const engine::PixelSize size{loaded.scaled.width, loaded.scaled.height};
    if (size.width == 0) {
        say(result, picture, "not a readable picture (" + reason + ")");
        return false;
    }
    if (incomplete) say(result, picture, "damaged: converted what could be read");
    engine::RenderArea &area = loaded.settings.area;
    if (!job.areaGiven) area = {0, 0, int16_t(size.width), int16_t(size.height)};
    if (!engine::areaWithin(area, size)) {
        say(result, picture,
            QString("the area \"%1 %2 %3 %4\" does not lie within the picture scaled to %5 x %6")
                .arg(area.x1)
                .arg(area.y1)
                .arg(area.x2)
                .arg(area.y2)
                .arg(size.width)
                .arg(size.height));
        return false;
    }
    loaded.settings.pixelCount = area.pixelCount();
    loaded.pixels = std::make_unique<engine::GridPixelSource>(loaded.scaled);
    return true;
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

PageTarget pageTarget(const QString &picture, const ConvertJob &job)
{
    if (job.output == "-" || (picture == "-" && job.output.isEmpty())) return PageTarget::StandardOutput;
    return job.output.isEmpty() ? PageTarget::Beside : PageTarget::OutputFile;
}

PictureResult convertPicture(const QString &picture, const QByteArray &path, const ConvertJob &job, int index,
                             ClaimOrder &order)
{
    PictureResult result;
    Turn turn(order, index);
    const bool fromInput = picture == "-";
    const QString pictureName = fromInput ? kStandardInput : picture;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    std::unique_ptr<QFile> file;
    QString reason;
    if (fromInput) {
        if (!readStandardInput(bytes, reason)) {
            say(result, kStandardInput, "not a readable picture (" + reason + ")");
            return result;
        }
        buffer.open(QIODevice::ReadOnly);
    } else if (!(file = platform::openPicture(path, &reason))) {
        say(result, pictureName, reason);
        return result;
    }
    LoadedPicture loaded;
    if (!loadPicture(fromInput ? static_cast<QIODevice *>(&buffer) : file.get(), pictureName, job, loaded, result))
        return result;
    file.reset();
    buffer.close();
    bytes = QByteArray();

    const PageTarget target = pageTarget(picture, job);
    std::optional<engine::PageFile> page;
    try {
        if (target == PageTarget::Beside) {
            order.waitFor(index);
            page = engine::claimNextFreePage(path.toStdString(), engine::pageExtension(loaded.settings.page.format));
            if (!page) {
                say(result, pictureName, "no free page name: the names numbered 1 to 100 beside it are all taken");
                return result;
            }
        } else if (target == PageTarget::OutputFile) {
            page = engine::replacePage(job.outputBytes.toStdString());
        }
    } catch (const engine::Failure &failure) {
        say(result, pictureName, QString::fromLocal8Bit(failure.what()));
        return result;
    }
    turn.pass(); // the name is claimed, or there is none to claim
    engine::Conversion conversion(loaded.settings);
    NoEvents host;
    try {
        if (page)
            conversion.startDocument(*page);
        else
            conversion.startDocumentOn(STDOUT_FILENO, kStandardOutput);
        conversion.Loopconvert(*loaded.pixels, host);
    } catch (const engine::Failure &failure) {
        // The writer names the page; for standard output, say which picture it was.
        say(result, page ? QFile::decodeName(page->path().c_str()) : pictureName,
            QString::fromLocal8Bit(failure.what()));
        // A half-written page is of no use to a batch; only one this run created is removed.
        if (page) engine::removeCreatedPage(*page);
        return result;
    }
    if (page) result.pageName = QByteArray::fromStdString(page->path()) + "\n";
    result.written = true;
    return result;
}

} // namespace cli
