// SPDX-License-Identifier: MIT
#include "picturefile.h"

#include <QImageReader>
#include <QPainter>

namespace platform {

namespace {

QImage readWith(QImageReader &reader, QString *error)
{
    QImage image = reader.read();
    if (image.isNull() && error) *error = reader.errorString();
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

QImage composeDrawingArea(const QImage &picture, const QColor &background)
{
    QImage area(engine::kDrawingAreaSize, engine::kDrawingAreaSize, QImage::Format_RGB32);
    area.fill(background);
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
