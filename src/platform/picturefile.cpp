// SPDX-License-Identifier: MIT
#include "picturefile.h"

#include "decode/decode.h"
#include "engine/pagefile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <unistd.h>

namespace platform {

namespace {

// The structure of the picture in device, where its bytes can be seen without reading it.
decode::Structure structureOf(QIODevice *device)
{
    QByteArray held;
    const uchar *d = nullptr;
    qsizetype n = 0;
    if (auto *file = qobject_cast<QFile *>(device); file && file->size() > 0) {
        d = file->map(0, file->size());
        n = d ? file->size() : 0;
    } else if (auto *buffer = qobject_cast<QBuffer *>(device)) {
        held = buffer->data();
        d = reinterpret_cast<const uchar *>(held.constData());
        n = held.size();
    }
    const decode::Structure s = decode::inspectStructure(d, std::size_t(n));
    if (auto *file = qobject_cast<QFile *>(device); file && d) file->unmap(const_cast<uchar *>(d));
    return s;
}

// What decoding one picture may take, so that neither program grows past about 200 MiB whatever
// the file claims. Qt's own default is not the same in every version (128 MiB in 6.4, 256 in others).
constexpr int kDecodeLimitMiB = int(decode::kMemoryLimit >> 20);

// Refuses what no reader should try (a JPEG of hundreds of scans) and sets the decoding limits.
bool readable(QIODevice *device, QString *error, bool *incomplete)
{
    const decode::Structure structure = structureOf(device);
    if (structure.scans > decode::kMaxJpegScans) {
        if (error) *error = QString::fromStdString(decode::tooManyScans(structure.scans));
        return false;
    }
    if (incomplete) *incomplete = structure.truncated;
    // Both limits hold for the whole program; set once, before the first picture.
    [[maybe_unused]] static const bool limited = [] {
        QImageReader::setAllocationLimit(kDecodeLimitMiB);
        // A progressive JPEG keeps all its coefficients while it decodes, however little of it is
        // shown: up to 8 bytes a pixel, outside Qt's limit. JPEGMEM (in thousands of bytes) is
        // libjpeg's own limit; past it libjpeg gives up instead of growing.
        return qputenv("JPEGMEM", QByteArray::number(kDecodeLimitMiB * 1024 * 1024 / 1000));
    }();
    return true;
}

QString whyUnreadable(const QImageReader &reader, QSize size)
{
    QString error = reader.errorString();
    // Whole pictures take up to 8 bytes a pixel to decode (64-bit colour, a progressive CMYK JPEG).
    if (qint64(size.width()) * size.height() * 8 > qint64(kDecodeLimitMiB) * 1024 * 1024)
        error += QString("; a %1 x %2 picture can need more than the %3 MiB allowed for decoding")
                     .arg(size.width())
                     .arg(size.height())
                     .arg(kDecodeLimitMiB);
    return error;
}

QImage readWith(QIODevice *device, QString *error, bool *incomplete)
{
    if (!readable(device, error, incomplete)) return QImage();
    QImageReader reader(device);
    // The picture box shows the top-left 300 x 300 pixels and no more. The JPEG reader decodes
    // only those rows and keeps only those columns; the other readers decode the whole picture,
    // which is cut at once so that nobody holds the rest.
    const QRect shown(0, 0, engine::kDrawingAreaSize, engine::kDrawingAreaSize);
    const QSize size = reader.size();
    const auto beyond = [&](QSize s) { return s.width() > shown.width() || s.height() > shown.height(); };
    if (reader.supportsOption(QImageIOHandler::ClipRect) && beyond(size))
        reader.setClipRect(shown & QRect(QPoint(0, 0), size));
    QImage image = reader.read();
    if (beyond(image.size())) image = image.copy(shown & image.rect());
    if (image.isNull() && error) *error = whyUnreadable(reader, size);
    return image;
}

engine::PixelGrid readScaledWithQt(QIODevice *device,
                                   const std::function<engine::PixelSize(engine::PixelSize)> &target, QString *error,
                                   bool *incomplete);

} // namespace

std::unique_ptr<QFile> openPicture(const QByteArray &path, QString *error)
{
    std::string reason;
    const int fd = engine::openPictureFile(path.toStdString(), reason);
    if (fd < 0) {
        *error = QString::fromLocal8Bit(reason.c_str());
        return nullptr;
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = file->errorString();
        return nullptr;
    }
    return file;
}

QImage readPicture(const QString &path, QString *error, bool *incomplete)
{
    QString reason;
    const std::unique_ptr<QFile> file = openPicture(QFile::encodeName(path), &reason);
    QImage image = file ? readPicture(file.get(), &reason, incomplete) : QImage();
    if (error) *error = reason;
    return image;
}

QImage readPicture(QIODevice *device, QString *error, bool *incomplete)
{
    return readWith(device, error, incomplete);
}

engine::PixelGrid readScaledPicture(QIODevice *device,
                                    const std::function<engine::PixelSize(engine::PixelSize)> &target, QString *error,
                                    bool *incomplete)
{
    // BMP, JPEG, PNG, GIF and WebP through the decoder, as the converter reads them, so that both
    // programs make the same page of a scaled picture; Qt's readers for the other formats.
    QByteArray bytes = device->readAll();
    decode::Request request;
    request.clipWidth = request.clipHeight = 0;
    request.background = uint32_t(toColorValue(kPictureBackground.rgb()));
    request.scaleTarget = [&](int width, int height) {
        const engine::PixelSize size = target({width, height});
        return std::pair{size.width, size.height};
    };
    const decode::Result decoded = decode::decodePicture(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                                         std::size_t(bytes.size()), request);
    if (decoded.format != decode::Format::Unknown || bytes.isEmpty()) {
        if (!decoded.ok()) {
            if (error) *error = QString::fromStdString(decoded.error);
            return {};
        }
        if (incomplete) *incomplete = decoded.incomplete;
        const decode::Canvas &canvas = decoded.canvas;
        return engine::scalePixels({canvas.pixels.data(), canvas.width, canvas.height, canvas.width},
                                   target({decoded.pictureWidth, decoded.pictureHeight}));
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readScaledWithQt(&buffer, target, error, incomplete);
}

namespace {

// The whole picture through Qt's readers, scaled premultiplied, then laid over the background.
engine::PixelGrid readScaledWithQt(QIODevice *device,
                                   const std::function<engine::PixelSize(engine::PixelSize)> &target, QString *error,
                                   bool *incomplete)
{
    if (!readable(device, error, incomplete)) return {};
    QImageReader reader(device);
    const QSize size = reader.size();
    engine::PixelSize scaled;
    if (size.isValid()) {
        scaled = target({size.width(), size.height()});
        int k = 8;
        while (k > 1 && (size.width() / k < scaled.width || size.height() / k < scaled.height))
            k /= 2;
        if (k > 1 && reader.format() == "jpeg" && reader.supportsOption(QImageIOHandler::ScaledSize))
            reader.setScaledSize(QSize((size.width() + k - 1) / k, (size.height() + k - 1) / k));
    }
    QImage image = reader.read();
    if (image.isNull()) {
        if (error) *error = whyUnreadable(reader, size);
        return {};
    }
    if (!size.isValid()) scaled = target({image.width(), image.height()});
    // Premultiplied, the four channels average independently; opaque RGB32 already is.
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    engine::PixelGrid grid = engine::scalePixels({reinterpret_cast<const uint32_t *>(image.constBits()), image.width(),
                                                  image.height(), image.bytesPerLine() / 4},
                                                 scaled);
    image = QImage();
    const int fill[3] = {kPictureBackground.red(), kPictureBackground.green(), kPictureBackground.blue()};
    for (uint32_t &p : grid.pixels) {
        const int clear = 255 - int(qAlpha(p));
        const int rgb[3] = {qRed(p), qGreen(p), qBlue(p)};
        uint32_t value = 0;
        for (int c = 0; c < 3; ++c)
            value |= uint32_t(std::min(255, rgb[c] + (fill[c] * clear + 127) / 255)) << (8 * c);
        p = value;
    }
    return grid;
}

} // namespace

QImage readFittedPicture(const QString &path, QString *error)
{
    QString reason;
    const std::unique_ptr<QFile> file = openPicture(QFile::encodeName(path), &reason);
    const engine::PixelGrid grid =
        file ? readScaledPicture(
                   file.get(), [](engine::PixelSize size) { return engine::fitInBox(size); }, &reason)
             : engine::PixelGrid();
    if (error) *error = reason;
    if (grid.pixels.empty()) return QImage();
    // The box shows 0xAARRGGBB; the grid holds 0x00BBGGRR.
    QImage image(grid.width, grid.height, QImage::Format_RGB32);
    for (int y = 0; y < grid.height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < grid.width; ++x) {
            const uint32_t p = grid.pixels[std::size_t(y) * grid.width + x];
            line[x] = qRgb(p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF);
        }
    }
    return image;
}

QImage composeDrawingArea(const QImage &picture)
{
    QImage area(engine::kDrawingAreaSize, engine::kDrawingAreaSize, QImage::Format_RGB32);
    area.fill(kPictureBackground);
    if (!picture.isNull()) {
        QPainter painter(&area);
        painter.drawImage(0, 0, picture);
    }
    return area;
}

ImagePixelSource::ImagePixelSource(const QImage &image)
    : m_width(image.width()), m_height(image.height()), m_pixels(std::size_t(m_width) * m_height)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < m_height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < m_width; ++x)
            m_pixels[std::size_t(y) * m_width + x] = toColorValue(line[x]);
    }
}

} // namespace platform
