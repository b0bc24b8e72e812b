// SPDX-License-Identifier: MIT
#pragma once

#include "engine/scaling.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

namespace picturesource {

// Reads a picture file: a regular file only, opened without blocking on a FIFO, its format told by
// its content, never by its name; the first frame of an animation. Only the top-left 300 x 300
// pixels the picture box shows are kept. The formats the decoder knows go through it, as the
// converter reads them (the same pixels, and the same page, in both programs), upright, transparent
// parts laid over the background; other formats (whatever else Qt's image plugins read) through
// Qt's readers. A null image means it is not a readable picture (a JPEG of hundreds of
// scans counts as damaged); error then says why. A picture cut short shows what could be read.
QImage readPicture(const QString &path, QString *error = nullptr);
// The same for the bytes of a picture in memory.
QImage readPictureData(const QByteArray &bytes, QString *error = nullptr);
// The file name suffixes of every kind of picture readPicture() takes: the decoder's own and
// those of Qt's readers, sorted.
QStringList pictureSuffixes();
// The whole picture shrunk to fit the 300 x 300 drawing area, keeping its proportions, with
// transparent parts on the background: the pixels the converter's --fit scans. A JPEG is decoded
// at a half, a quarter or an eighth of its size where that is still at least the size shown.
QImage readFittedPicture(const QString &path, QString *error = nullptr);

// What shows beyond the picture and through its transparent parts, in the picture box and in the
// converter's pages alike.
inline const QColor kPictureBackground = Qt::white;

// The 300 x 300 drawing area of the picture box: the background, then the picture unscaled from
// the top-left corner, cut off beyond 300 pixels.
QImage composeDrawingArea(const QImage &picture);

// 0x00BBGGRR, the layout the conversion works in.
inline int32_t toColorValue(QRgb rgb)
{
    return int32_t(qRed(rgb)) | int32_t(qGreen(rgb)) << 8 | int32_t(qBlue(rgb)) << 16;
}

// The pixels of a drawing area image, as the scan reads them (through engine::GridPixelSource):
// the colours converted once up front, as the scan reads every pixel.
engine::PixelGrid pixelGrid(const QImage &image);

} // namespace picturesource
