// SPDX-License-Identifier: MIT
// A picture file of any bytes, read as the window and the converter read it: either refused
// with a reason, or drawn into the 300 x 300 drawing area whose pixels the scan can read.
#include "picturesource/picturefile.h"

#include <QBuffer>
#include <QImageReader>

// Qt's readers carry no coverage instrumentation, so what they say and make of the bytes stands
// in for it: without this every picture looks alike to the fuzzer.
__attribute__((section("__libfuzzer_extra_counters"))) static uint8_t outcomes[4096];

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // A reader's warnings tell its ways of failing apart; sizes and offsets in them do not count.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
        outcomes[qHash(QString(message).removeIf([](QChar c) { return c.isDigit(); })) % sizeof outcomes] = 1;
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&file);
    QString error;
    const QImage picture = picturesource::readPictureData(bytes, &error);
    outcomes[qHashMulti(0, format, error, picture.size(), int(picture.format())) % sizeof outcomes] = 1;
    if (picture.isNull()) {
        if (error.isEmpty()) __builtin_trap();
        return 0; // the box shows its background alone, alike for every refused file
    }
    const engine::PixelGrid grid = picturesource::pixelGrid(picturesource::composeDrawingArea(picture));
    engine::GridPixelSource pixels(grid);
    for (int i = 0; i < engine::kDrawingAreaSize; i += 7) {
        if (uint32_t(pixels.pixel(i, engine::kDrawingAreaSize - 1 - i)) > 0xFFFFFF) __builtin_trap();
    }
    if (pixels.pixel(engine::kDrawingAreaSize, 0) != -1) __builtin_trap();
    return 0;
}
