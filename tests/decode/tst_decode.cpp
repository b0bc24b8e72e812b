// SPDX-License-Identifier: MIT
// Every picture of the test set decoded by the decoder and by Qt's readers as the picture box has
// read them: the same 300 x 300 drawing area, pixel for pixel, or both refuse the file.
#include "decode/decode.h"
#include "platform/picturefile.h"

#include <QDirIterator>
#include <QFile>
#include <QtTest>

namespace {

// Where the decoder is meant to differ from Qt's readers, and why; it must still read these.
const QHash<QString, const char *> kExceptions = {
    {"truncated.bmp", "Qt leaves the rows a bitmap lacks as they lay in memory; the decoder shows them black"},
};

// Over the background the window and the converter put behind transparent pixels.
QImage decodedArea(const QByteArray &bytes, QString *error)
{
    decode::Request request;
    request.background = uint32_t(platform::toColorValue(platform::kPictureBackground.rgb()));
    const decode::Result result =
        decode::decodePicture(reinterpret_cast<const uint8_t *>(bytes.constData()), std::size_t(bytes.size()), request);
    *error = QString::fromStdString(result.error);
    if (!result.ok()) return {};
    QImage area = platform::composeDrawingArea(QImage());
    for (int y = 0; y < result.canvas.height; ++y)
        for (int x = 0; x < result.canvas.width; ++x) {
            const uint32_t c = result.canvas.pixel(x, y);
            area.setPixel(x, y, qRgb(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16)));
        }
    return area;
}

} // namespace

class tst_decode : public QObject
{
    Q_OBJECT

private slots:
    void sameAsQt_data();
    void sameAsQt();
    void requests_data();
    void requests();
};

void tst_decode::sameAsQt_data()
{
    QTest::addColumn<QString>("path");
    for (QDirIterator it(TEST_DATA_DIR, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        if (path.endsWith(".sh")) continue;
        const QString name = QDir(TEST_DATA_DIR).relativeFilePath(path);
        QTest::newRow(qPrintable(name)) << path;
    }
}

void tst_decode::sameAsQt()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QString qtError, error;
    const QImage picture = platform::readPicture(path, &qtError);
    const QImage expected = picture.isNull() ? QImage() : platform::composeDrawingArea(picture);
    const QImage decoded = decodedArea(bytes, &error);
    if (const char *why = kExceptions.value(QFileInfo(path).fileName())) {
        QVERIFY2(!decoded.isNull(), qPrintable(error));
        QSKIP(why);
    }
    QString difference;
    if (expected.isNull() != decoded.isNull()) {
        difference = expected.isNull() ? "Qt refuses (" + qtError + ")" : "the decoder refuses (" + error + ")";
    } else {
        int count = 0;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x) {
                const QRgb want = expected.pixel(x, y) & 0xFFFFFF, got = decoded.pixel(x, y) & 0xFFFFFF;
                if (want != got && count++ == 0)
                    difference = QString::asprintf("at %d,%d Qt shows %06x, the decoder %06x", x, y, want, got);
            }
        if (count) difference += QString(" (%1 pixels differ)").arg(count);
    }
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

// What the caller asks beyond the box: the whole picture, or tighter limits.
void tst_decode::requests_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("clip"); // width and height kept; 0 keeps the whole picture
    QTest::addColumn<int>("maxScans");
    QTest::addColumn<int>("target"); // the side the caller scales to; 0: none
    QTest::addColumn<QString>("expected"); // the canvas's size, or the error
    const auto row = [](const char *name, const char *file, int clip, int maxScans, int target, const char *expected) {
        QTest::newRow(name) << file << clip << maxScans << target << expected;
    };
    row("the whole of a picture beyond the box", "larger.jpg", 0, 1000, 0, "320 x 320");
    row("a JPEG shrunk by its decoder to an eighth", "larger.jpg", 0, 1000, 40, "40 x 40");
    row("a JPEG shrunk to a quarter, as an eighth is too small", "larger.jpg", 0, 1000, 41, "80 x 80");
    row("only JPEGs are shrunk by their decoder", "larger.png", 0, 1000, 40, "320 x 320");
    row("a corner of it", "larger.png", 5, 1000, 0, "5 x 5");
    row("more scans than allowed", "progressive.jpg", 300, 2, 0, "a JPEG of 10 scans (more than 2) is taken as damaged");
    row("as many scans as allowed", "progressive.jpg", 300, 10, 0, "16 x 16");
    row("coefficients past the memory allowed", "huge-progressive.jpg", 300, 1000, 0,
        "a 30000 x 30000 picture can need more than the 128 MiB allowed for decoding");
    row("a JPEG cut short", "truncated.jpg", 300, 300, 0, "16 x 64, incomplete");
    row("a GIF cut short", "truncated.gif", 300, 300, 0, "16 x 64, incomplete");
}

void tst_decode::requests()
{
    QFETCH(QString, file);
    QFETCH(int, clip);
    QFETCH(int, maxScans);
    QFETCH(int, target);
    QFETCH(QString, expected);
    QFile picture(QString(TEST_DATA_DIR) + "/pictures/" + file);
    QVERIFY(picture.open(QIODevice::ReadOnly));
    decode::Request request;
    request.clipWidth = request.clipHeight = clip;
    request.maxJpegScans = maxScans;
    if (target > 0) request.scaleTarget = [&](int, int) { return std::pair{target, target}; };
    const decode::Result result = decode::decodeFile(picture.handle(), request);
    const QString canvas = QString("%1 x %2").arg(result.canvas.width).arg(result.canvas.height) +
                           (result.incomplete ? ", incomplete" : "");
    QCOMPARE(result.ok() ? canvas : QString::fromStdString(result.error), expected);
}

QTEST_GUILESS_MAIN(tst_decode)
#include "tst_decode.moc"
