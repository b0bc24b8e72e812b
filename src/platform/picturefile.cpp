// SPDX-License-Identifier: MIT
#include "picturefile.h"

#include <QImageReader>
#include <QPainter>

namespace platform {

namespace {

// What decoding one picture may take, so that neither program grows past about 200 MiB whatever
// the file claims. Qt's own default is not the same in every version (128 MiB in 6.4, 256 in others).
constexpr int kDecodeLimitMiB = 128;

QImage readWith(QImageReader &reader, QString *error)
{
    // Both limits hold for the whole program; set once, before the first picture.
    [[maybe_unused]] static const bool limited = [] {
        QImageReader::setAllocationLimit(kDecodeLimitMiB);
        // A progressive JPEG keeps all its coefficients while it decodes, however little of it is
        // shown: up to 8 bytes a pixel, outside Qt's limit. JPEGMEM (in thousands of bytes) is
        // libjpeg's own limit; past it libjpeg gives up instead of growing.
        return qputenv("JPEGMEM", QByteArray::number(kDecodeLimitMiB * 1024 * 1024 / 1000));
    }();
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
    if (image.isNull() && error) {
        *error = reader.errorString();
        // Whole pictures take up to 8 bytes a pixel to decode (64-bit colour, a progressive CMYK JPEG).
        if (qint64(size.width()) * size.height() * 8 > qint64(kDecodeLimitMiB) * 1024 * 1024)
            *error += QString("; a %1 x %2 picture can need more than the %3 MiB allowed for decoding")
                          .arg(size.width())
                          .arg(size.height())
                          .arg(kDecodeLimitMiB);
    }
    return image;
}

} // namespace

QImage readPicture(const QString &path, QString *error)
{
    QImageReader reader(path);
    return readWith(reader, error);
}

QImage readPicture(QIODevice *device, QString *error)
{
    QImageReader reader(device);
    return readWith(reader, error);
}

QImage readFittedPicture(const QString &path, QString *error)
{
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        if (error) *error = reader.errorString();
        return image;
    }
    const int box = engine::kDrawingAreaSize;
    if (image.width() > box || image.height() > box)
        image = image.scaled(box, box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
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
