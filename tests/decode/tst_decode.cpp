// Every picture of the test set as the window reads it, as the converter reads it and as Qt's
// readers read it: the same 300 x 300 drawing area, pixel for pixel, or each refuses the file.
#include "decode/decode.h"
#include "picturesource/picturefile.h"
#include "support/budget.h"
#include "support/files.h"

#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QtTest>

namespace {

// Where the decoder is meant to differ from Qt's readers, and why.
const QHash<QString, const char *> kExceptions = {
    {"truncated.bmp", "Qt leaves the rows a bitmap lacks as they lay in memory; the decoder shows them black"},
    {"many-scans.jpg", "the decoder refuses a JPEG of hundreds of scans (a pass over the picture each); Qt not"},
};

// The decoded picture laid into the box as the converter lays it.
QImage converterArea(const QByteArray &bytes, QString *error)
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

QImage boxArea(const QImage &picture)
{
    return picture.isNull() ? QImage() : platform::composeDrawingArea(picture);
}

// Where the areas two readers (named in them) gave differ: the first pixel, or which refuses.
QString difference(const QString &names, const QImage &a, const QImage &b, const QString &errors)
{
    if (a.isNull() != b.isNull()) return names + ": one refuses (" + errors + ")";
    int count = 0;
    QString first;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) ^ b.pixel(x, y)) & 0xFFFFFF && count++ == 0)
                first = QString::asprintf(": at %d,%d %06x, %06x", x, y, a.pixel(x, y) & 0xFFFFFF,
                                          b.pixel(x, y) & 0xFFFFFF);
    return count ? names + first + QString(" (%1 pixels differ)").arg(count) : QString();
}

} // namespace

class tst_decode : public QObject
{
    Q_OBJECT

private slots:
    void samePixels_data();
    void samePixels();
    void requests_data();
    void requests();
    void boundedWork_data();
    void boundedWork();
};

void tst_decode::samePixels_data()
{
    QTest::addColumn<QString>("path");
    for (QDirIterator it(TEST_DATA_DIR, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        if (path.endsWith(".sh")) continue;
        const QString name = QDir(TEST_DATA_DIR).relativeFilePath(path);
        QTest::newRow(qPrintable(name)) << path;
    }
}

// The window's picture is the converter's for every format the decoder knows; for the others
// (TIFF) the converter refuses and the window reads it through Qt's readers.
void tst_decode::samePixels()
{
    QFETCH(QString, path);
    const QByteArray bytes = readAll(path); // zero-bytes.jpg is empty
    QString windowError, converterError;
    const QImage window = boxArea(platform::readPicture(path, &windowError));
    const QImage converter = converterArea(bytes, &converterError);
    // Qt's readers within the limits the window gave them.
    QImageReader::setAllocationLimit(int(decode::kMemoryLimit >> 20));
    QImageReader reader(path);
    const QImage qt = boxArea(reader.read());

    const QString sameAsConverter =
        difference("window, converter", window, converter, windowError + " | " + converterError);
    QVERIFY2(path.endsWith(".tif") ? converter.isNull() : sameAsConverter.isEmpty(), qPrintable(sameAsConverter));
    if (const char *why = kExceptions.value(QFileInfo(path).fileName())) QSKIP(why);
    const QString sameAsQt = difference("Qt, window", qt, window, reader.errorString() + " | " + windowError);
    QVERIFY2(sameAsQt.isEmpty(), qPrintable(sameAsQt));
}

// What the caller asks beyond the box: the whole picture, or tighter limits.
void tst_decode::requests_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("clip"); // width and height kept; 0 keeps the whole picture
    QTest::addColumn<int>("maxScans");
    QTest::addColumn<int>("target");       // the side the caller scales to; 0: none
    QTest::addColumn<QString>("expected"); // the canvas's size, or the error
    const auto row = [](const char *name, const char *file, int clip, int maxScans, int target, const char *expected) {
        QTest::newRow(name) << file << clip << maxScans << target << expected;
    };
    row("the whole of a picture beyond the box", "larger.jpg", 0, 1000, 0, "320 x 320");
    row("a JPEG shrunk by its decoder to an eighth", "larger.jpg", 0, 1000, 40, "40 x 40");
    row("a JPEG shrunk to a quarter, as an eighth is too small", "larger.jpg", 0, 1000, 41, "80 x 80");
    row("only JPEGs are shrunk by their decoder", "larger.png", 0, 1000, 40, "320 x 320");
    row("more scans than allowed", "progressive.jpg", 300, 2, 0,
        "a JPEG of 10 scans (more than 2) is taken as damaged");
    row("as many scans as allowed", "progressive.jpg", 300, 10, 0, "16 x 16");
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
    const QString canvas = QString("%1 x %2").arg(result.canvas.width).arg(result.canvas.height);
    QCOMPARE(result.ok() ? canvas : QString::fromStdString(result.error), expected);
}

// Hostile files whose decoding would take seconds (or freeze the window as long): each is refused
// well within a second, by what it would cost rather than by what it holds.
void tst_decode::boundedWork_data()
{
    QTest::addColumn<QString>("file"); // a seed of the decoder's fuzzing, or made here
    QTest::addColumn<QString>("refusal");
    QTest::newRow("an interlaced GIF frame of 65535 x 65535 on a 300 x 300 screen")
        << "huge-frame.gif"
        << "a 65535 x 65535 picture can need more than the 128 MiB";
    QTest::newRow("a 4000 x 4000 progressive JPEG of 300 scans")
        << "scan-blocks.jpg"
        << "a progressive JPEG whose scans pass over more than 16777216 blocks";
    QTest::newRow("a sparse file of 1 GiB that begins as a bitmap of 0 x 0") << ""
                                                                             << "the file is larger than 256 MiB";
}

void tst_decode::boundedWork()
{
    QFETCH(QString, file);
    QFETCH(QString, refusal);
    QTemporaryFile sparse;
    QFile picture(QString(TEST_DATA_DIR) + "/../fuzz/corpus/fuzz_decode/" + file);
    if (file.isEmpty()) {
        QVERIFY(sparse.open() && sparse.write(QByteArray("BM") + QByteArray(52, '\0')) == 54 &&
                sparse.resize(qint64(1) << 30) && sparse.flush());
        picture.setFileName(sparse.fileName());
    }
    QVERIFY(picture.open(QIODevice::ReadOnly));
    QElapsedTimer clock;
    clock.start();
    const decode::Result result = decode::decodeFile(picture.handle());
    QVERIFY2(clock.elapsed() < kHangBudgetMs, qPrintable(QString::number(clock.elapsed()) + " ms"));
    QVERIFY2(QString::fromStdString(result.error).contains(refusal), result.error.c_str());
}

QTEST_GUILESS_MAIN(tst_decode)
#include "tst_decode.moc"
