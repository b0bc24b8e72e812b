// SPDX-License-Identifier: MIT
#include "picturefile.h"

#include "decode/decode.h"
#include "engine/scaling.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <functional>
#include <unistd.h>

namespace picturesource {

namespace {

// What decoding one picture may take, so that neither program grows past about 200 MiB whatever
// the file claims.
constexpr int kDecodeLimitMiB = int(decode::kMemoryLimit >> 20);

// The whole of a picture file, as the converter reads it; false with error set when it cannot.
bool readFileBytes(const QString &path, std::vector<uint8_t> &bytes, QString *error)
{
    std::string reason;
    const int fd = decode::openPictureFile(QFile::encodeName(path).toStdString(), reason);
    if (fd >= 0) {
        bytes = decode::readFile(fd, reason);
        ::close(fd);
    }
    if (reason.empty()) return true;
    if (error) *error = QString::fromLocal8Bit(reason.c_str());
    return false;
}

decode::Result decodeBytes(const std::vector<uint8_t> &bytes, decode::Request request)
{
    request.background = uint32_t(toColorValue(kPictureBackground.rgb()));
    return decode::decodePicture(bytes.data(), bytes.size(), request);
}

// Bytes the decoder does not know go to Qt's readers (whatever else its plugins read).
bool forQt(const decode::Result &decoded, const std::vector<uint8_t> &bytes)
{
    return decoded.format == decode::Format::Unknown && !bytes.empty();
}

// 0x00BBGGRR pixels as the box shows them.
QImage toImage(const uint32_t *pixels, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[std::size_t(y) * width + x];
            line[x] = qRgb(p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF);
        }
    }
    return image;
}

// Qt's readers within the decoder's memory limit: the whole picture, or only its part within
// clip. refusal is the decoder's reason, which stands for the formats the decoder reads itself.
QImage readWithQt(const std::vector<uint8_t> &bytes, const QRect &clip, const std::string &refusal, QString *error)
{
    // For the whole program, set before the first picture; Qt's own default is not the same in
    // every version (128 MiB in 6.4, 256 in others).
    [[maybe_unused]] static const bool limited = (QImageReader::setAllocationLimit(kDecodeLimitMiB), true);
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Qt knows some of these by fewer bytes (a JPEG by FF D8 alone); its reader would then go
    // past the decoder's limits (hundreds of JPEG scans, libjpeg's memory).
    const QByteArray format = reader.format();
    const auto decoderFormat = [&format](const char *suffix) { return format == suffix; };
    if (std::any_of(std::begin(decode::kFileSuffixes), std::end(decode::kFileSuffixes), decoderFormat)) {
        if (error) *error = QString::fromStdString(refusal);
        return QImage();
    }
    // Readers that can decode only the part shown do; the others decode the whole picture, which
    // is cut at once so that nobody holds the rest.
    const QSize size = reader.size();
    const auto beyond = [&](QSize s) {
        return clip.isValid() && (s.width() > clip.width() || s.height() > clip.height());
    };
    if (reader.supportsOption(QImageIOHandler::ClipRect) && beyond(size))
        reader.setClipRect(clip & QRect(QPoint(0, 0), size));
    QImage image = reader.read();
    if (beyond(image.size())) image = image.copy(clip & image.rect());
    if (image.isNull() && error) {
        *error = reader.errorString();
        // Whole pictures take up to 8 bytes a pixel to decode (64-bit colour).
        if (qint64(size.width()) * size.height() * 8 > qint64(kDecodeLimitMiB) * 1024 * 1024)
            *error += QString("; a %1 x %2 picture can need more than the %3 MiB allowed for decoding")
                          .arg(size.width())
                          .arg(size.height())
                          .arg(kDecodeLimitMiB);
    }
    return image;
}

QImage readBytes(const std::vector<uint8_t> &bytes, QString *error)
{
    const decode::Result decoded = decodeBytes(bytes, {});
    const QRect shown(0, 0, engine::kDrawingAreaSize, engine::kDrawingAreaSize);
    if (forQt(decoded, bytes)) return readWithQt(bytes, shown, decoded.error, error);
    if (!decoded.ok()) {
        if (error) *error = QString::fromStdString(decoded.error);
        return QImage();
    }
    return toImage(decoded.canvas.pixels.data(), decoded.canvas.width, decoded.canvas.height);
}

// The whole picture scaled to the size that target gives for its own size, transparent parts
// showing the background, as 0x00BBGGRR; an empty grid when it is not readable.
engine::PixelGrid readScaled(const std::vector<uint8_t> &bytes,
                             const std::function<engine::PixelSize(engine::PixelSize)> &target, QString *error)
{
    decode::Request request;
    request.clipWidth = request.clipHeight = 0;
    request.scaleTarget = [&](int width, int height) {
        const engine::PixelSize size = target({width, height});
        return std::pair{size.width, size.height};
    };
    const decode::Result decoded = decodeBytes(bytes, request);
    if (!forQt(decoded, bytes)) {
        if (!decoded.ok()) {
            if (error) *error = QString::fromStdString(decoded.error);
            return {};
        }
        const decode::Canvas &canvas = decoded.canvas;
        return engine::scalePixels({canvas.pixels.data(), canvas.width, canvas.height, canvas.width},
                                   target({decoded.pictureWidth, decoded.pictureHeight}));
    }
    QImage image = readWithQt(bytes, QRect(), decoded.error, error);
    if (image.isNull()) return {};
    // Premultiplied, the four channels average independently; opaque RGB32 already is.
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    engine::PixelGrid grid = engine::scalePixels({reinterpret_cast<const uint32_t *>(image.constBits()), image.width(),
                                                  image.height(), image.bytesPerLine() / 4},
                                                 target({image.width(), image.height()}));
    image = QImage();
    // Then laid over the background.
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

QImage readPicture(const QString &path, QString *error)
{
    std::vector<uint8_t> bytes;
    return readFileBytes(path, bytes, error) ? readBytes(bytes, error) : QImage();
}

QImage readPictureData(const QByteArray &bytes, QString *error)
{
    return readBytes(std::vector<uint8_t>(bytes.cbegin(), bytes.cend()), error);
}

QImage readFittedPicture(const QString &path, QString *error)
{
    std::vector<uint8_t> bytes;
    if (!readFileBytes(path, bytes, error)) return QImage();
    const engine::PixelGrid grid = readScaled(
        bytes, [](engine::PixelSize size) { return engine::fitInBox(size); }, error);
    return grid.pixels.empty() ? QImage() : toImage(grid.pixels.data(), grid.width, grid.height);
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

engine::PixelGrid pixelGrid(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    engine::PixelGrid grid{rgb.width(), rgb.height(), std::vector<uint32_t>(std::size_t(rgb.width()) * rgb.height())};
    for (int y = 0; y < grid.height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < grid.width; ++x)
            grid.pixels[std::size_t(y) * grid.width + x] = uint32_t(toColorValue(line[x]));
    }
    return grid;
}

QStringList pictureSuffixes()
{
    QStringList suffixes;
    for (const char *suffix : decode::kFileSuffixes)
        suffixes << QString::fromLatin1(suffix);
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        suffixes << QString::fromLatin1(format);
    suffixes.sort();
    suffixes.removeDuplicates();
    return suffixes;
}

} // namespace picturesource
