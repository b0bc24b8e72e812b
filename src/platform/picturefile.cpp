// SPDX-License-Identifier: MIT
#include "picturefile.h"

#include <QImageReader>
#include <QPainter>

namespace platform {

QImage readPicture(const QString &path, QString *error)
{
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull() && error) *error = reader.errorString();
    return image;
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

ImagePixelSource::ImagePixelSource(QImage image) : m_image(std::move(image).convertToFormat(QImage::Format_RGB32)) {}

int32_t ImagePixelSource::pixel(int x, int y)
{
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height()) return -1;
    return toColorValue(reinterpret_cast<const QRgb *>(m_image.constScanLine(y))[x]);
}

} // namespace platform
