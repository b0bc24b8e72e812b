// SPDX-License-Identifier: MIT
#pragma once

#include "engine/scaling.h"
#include "engine/scan.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace platform {

// Opens a picture file for reading: a regular file only, and without blocking on a FIFO. nullptr
// with error saying what is wrong ("Permission denied", "is a folder") when it cannot.
std::unique_ptr<QFile> openPicture(const QByteArray &path, QString *error);

// Reads a picture (BMP, JPEG, GIF and whatever else Qt's image plugins read; the first frame of an
// animation), its format told by its content, never by its name. A null image means it is not a
// readable picture (a JPEG of hundreds of scans counts as damaged); error then says why.
// incomplete is set when the data ends early and only what could be read is shown.
QImage readPicture(QIODevice *device, QString *error = nullptr, bool *incomplete = nullptr);
// The same for the file path names, opened by openPicture().
QImage readPicture(const QString &path, QString *error = nullptr, bool *incomplete = nullptr);
// The whole picture shrunk to fit the 300 x 300 drawing area, keeping its proportions, with
// transparent parts on the background: the pixels the converter's --fit scans.
QImage readFittedPicture(const QString &path, QString *error = nullptr);

// What shows beyond the picture and through its transparent parts, in the picture box and in the
// converter's pages alike.
inline const QColor kPictureBackground = Qt::white;

// The whole picture scaled to the size that target gives for its own size, transparent parts
// showing the background, as 0x00BBGGRR: through the decoder, as the converter reads it, for the
// formats it knows (the same page in both programs), else through Qt's readers. A JPEG is decoded
// at a half, a quarter or an eighth of its size where that is still at least the target.
// An empty grid means the picture is not readable; error then says why (as readPicture()).
engine::PixelGrid readScaledPicture(QIODevice *device,
                                    const std::function<engine::PixelSize(engine::PixelSize)> &target,
                                    QString *error = nullptr, bool *incomplete = nullptr);

// The 300 x 300 drawing area of the picture box: the background, then the picture unscaled from
// the top-left corner, cut off beyond 300 pixels.
QImage composeDrawingArea(const QImage &picture);

// 0x00BBGGRR, the layout the conversion works in.
inline int32_t toColorValue(QRgb rgb)
{
    return int32_t(qRed(rgb)) | int32_t(qGreen(rgb)) << 8 | int32_t(qBlue(rgb)) << 16;
}

// Pixels of a drawing area image; -1 outside it. The colours are converted once up front, as
// the scan reads every pixel.
class ImagePixelSource : public engine::PixelSource
{
public:
    explicit ImagePixelSource(const QImage &image);
    int32_t pixel(int x, int y) override
    {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height) return -1;
        return m_pixels[std::size_t(y) * m_width + x];
    }

private:
    int m_width;
    int m_height;
    std::vector<int32_t> m_pixels;
};

} // namespace platform
