// Every picture of the test set as the window reads it, as the converter reads it and as Qt's
// readers read it: the same 300 x 300 drawing area, pixel for pixel, or each refuses the file.
#include "decode/decode.h"
#include "picturesource/picturefile.h"
#include "support/budget.h"
#include "support/files.h"
#include "support/table.h"

#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QtTest>

namespace {

// Where the decoder is meant to differ from Qt's readers, and why.
const QHash<QString, const char *> kExceptions = {
    {"truncated.bmp", "Qt leaves the rows a bitmap lacks as they lay in memory; the decoder shows them black"},
    {"many-scans.jpg", "the decoder refuses a JPEG of hundreds of scans (a pass over the picture each); Qt not"},
    {"rgb555.bmp", "Qt shifts channels of under 8 bits up (white shows F8F8F8); the decoder scales them to full range"},
    {"rgb565.bmp", "Qt shifts channels of under 8 bits up (white shows F8F8F8); the decoder scales them to full range"},
    {"truncated.png", "Qt refuses a PNG cut short; the decoder shows the rows before the cut"},
    {"truncated.webp", "Qt refuses a WebP cut short; the decoder shows the rows before the cut"},
};

// Pictures Qt's readers do not read, against a picture of the same pixels they read, within the
// tolerance of a lossy encoding.
const QHash<QString, QPair<QString, int>> kReferences = {
    {"ramp.heic", {"rgb-24bit.bmp", 12}},
    {"ramp.avif", {"rgb-24bit.bmp", 12}},
    {"ramp.jxl", {"rgb-24bit.bmp", 0}},
};

decode::Result converterDecode(const QByteArray &bytes, int clipWidth = 300, int clipHeight = 300)
{
    decode::Request request;
    request.clipWidth = clipWidth;
    request.clipHeight = clipHeight;
    request.background = uint32_t(picturesource::toColorValue(picturesource::kPictureBackground.rgb()));
    return decode::decodePicture(reinterpret_cast<const uint8_t *>(bytes.constData()), std::size_t(bytes.size()),
                                 request);
}

// The decoded picture laid into the box as the converter lays it.
QImage converterArea(const QByteArray &bytes, QString *error)
{
    const decode::Result result = converterDecode(bytes);
    *error = QString::fromStdString(result.error);
    if (!result.ok()) return {};
    QImage area = picturesource::composeDrawingArea(QImage());
    for (int y = 0; y < result.canvas.height; ++y)
        for (int x = 0; x < result.canvas.width; ++x) {
            const uint32_t c = result.canvas.pixel(x, y);
            area.setPixel(x, y, qRgb(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16)));
        }
    return area;
}

QByteArray le(uint32_t value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out += char(value >> (8 * i) & 0xFF);
    return out;
}

// A bitmap of width x height at bits a pixel: its file header (unless headerless) saying the
// pixels start at offset, an information header of info bytes (12: OS/2) whose first 40 are the
// common ones and whose rest, bit fields, colours and pixels are in after.
QByteArray bitmap(int info, int width, int height, int bits, int compression, const QByteArray &after, int offset = 0,
                  bool headerless = false)
{
    QByteArray body = le(uint32_t(info), 4);
    if (info == 12)
        body += le(uint32_t(width), 2) + le(uint32_t(height), 2) + le(1, 2) + le(uint32_t(bits), 2);
    else
        body += le(uint32_t(width), 4) + le(uint32_t(height), 4) + le(1, 2) + le(uint32_t(bits), 2) +
                le(uint32_t(compression), 4) + QByteArray(std::min(info, 40) - 20, '\0');
    body += after;
    return headerless ? body : "BM" + le(uint32_t(14 + body.size()), 4) + le(0, 4) + le(uint32_t(offset), 4) + body;
}

QImage boxArea(const QImage &picture)
{
    return picture.isNull() ? QImage() : picturesource::composeDrawingArea(picture);
}

// Where the areas two readers (named in them) gave differ by more than tolerance a channel: the
// first pixel, or which refuses.
QString difference(const QString &names, const QImage &a, const QImage &b, const QString &errors, int tolerance = 0)
{
    if (a.isNull() != b.isNull()) return names + ": one refuses (" + errors + ")";
    const auto differ = [tolerance](QRgb p, QRgb q) {
        return qAbs(qRed(p) - qRed(q)) > tolerance || qAbs(qGreen(p) - qGreen(q)) > tolerance ||
               qAbs(qBlue(p) - qBlue(q)) > tolerance;
    };
    int count = 0;
    QString first;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (differ(a.pixel(x, y), b.pixel(x, y)) && count++ == 0)
                first = QString::asprintf(": at %d,%d %06x, %06x", x, y, a.pixel(x, y) & 0xFFFFFF,
                                          b.pixel(x, y) & 0xFFFFFF);
    return count ? names + first + QString(" (%1 pixels differ)").arg(count) : QString();
}

} // namespace

class tst_decode : public QObject
{
    Q_OBJECT

private slots:
    void samePixels_data()
    {
        QTest::addColumn<QString>("path");
        for (QDirIterator it(TEST_DATA_DIR, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            if (path.endsWith(".sh")) continue;
            const QString name = QDir(TEST_DATA_DIR).relativeFilePath(path);
            QTest::newRow(qPrintable(name)) << path;
        }
    }

    // The window's picture is the converter's, upright, and cut from the whole picture decoded.
    void samePixels()
    {
        QFETCH(QString, path);
        const QByteArray bytes = readAll(path); // zero-bytes.jpg is empty
        QString windowError, converterError;
        const QImage window = boxArea(picturesource::readPicture(path, &windowError));
        const QImage converter = converterArea(bytes, &converterError);
        const QString sameAsConverter =
            difference("window, converter", window, converter, windowError + " | " + converterError);
        QVERIFY2(sameAsConverter.isEmpty(), qPrintable(sameAsConverter));
        // Cut half way, to even sides (where halved colours end with a pair): the kept pixels are
        // those of the whole picture.
        const decode::Result whole = converterDecode(bytes, 0, 0);
        const int cutWidth = (whole.canvas.width / 2 + 1) & ~1, cutHeight = (whole.canvas.height / 2 + 1) & ~1;
        const decode::Result cut = converterDecode(bytes, cutWidth, cutHeight);
        QVERIFY(cut.ok() || !whole.ok());
        for (int y = 0; whole.ok() && y < std::min(cutHeight, whole.canvas.height); ++y)
            for (int x = 0; x < std::min(cutWidth, whole.canvas.width); ++x)
                QVERIFY2(cut.canvas.pixel(x, y) == whole.canvas.pixel(x, y),
                         qPrintable(QString("at %1,%2").arg(x).arg(y)));

        // Qt's readers within the limits the window gave them, turning pictures upright as it does.
        QImageReader::setAllocationLimit(int(decode::kMemoryLimit >> 20));
        const auto [reference, tolerance] =
            kReferences.value(QFileInfo(path).fileName(), {QFileInfo(path).fileName(), 0});
        QImageReader reader(QFileInfo(path).dir().filePath(reference));
        reader.setAutoTransform(true);
        const QImage qt = boxArea(reader.read());
        if (const char *why = kExceptions.value(QFileInfo(path).fileName())) QSKIP(why);
        const QString sameAsQt =
            difference("Qt, window", qt, window, reader.errorString() + " | " + windowError, tolerance);
        QVERIFY2(sameAsQt.isEmpty(), qPrintable(sameAsQt));
    }

    // What the caller asks beyond the box: the whole picture, or tighter limits. Hostile files whose
    // decoding would take seconds (or freeze the window as long) are refused well within a second, by
    // what they would cost rather than by what they hold.
    void requests_data()
    {
        // file: in pictures/, or a seed of the decoder's fuzzing; empty: a sparse file made here
        // clip: width and height kept; 0 keeps the whole picture
        // target: the side the caller scales to; 0: none
        // expected: the canvas's size, or the error
        const auto row = columns<QString, int, int, int, QString>({"file", "clip", "maxScans", "target", "expected"});
        row("the whole of a picture beyond the box", "larger.jpg", 0, 1000, 0, "320 x 320");
        row("a JPEG shrunk by its decoder to an eighth", "larger.jpg", 0, 1000, 40, "40 x 40");
        row("a JPEG shrunk to a quarter, as an eighth is too small", "larger.jpg", 0, 1000, 41, "80 x 80");
        row("only JPEGs are shrunk by their decoder", "larger.png", 0, 1000, 40, "320 x 320");
        row("HEIC and AVIF are averaged down once decoded", "ramp.heic", 0, 1000, 4, "8 x 5");
        row("a picture stored on its side, cut once upright", "oriented-6.jpg", 20, 1000, 0, "20 x 16");
        row("a picture stored on its side, shrunk, then upright", "oriented-6.jpg", 0, 1000, 4, "6 x 4");
        row("more scans than allowed", "progressive.jpg", 300, 2, 0,
            "a JPEG of 10 scans (more than 2) is taken as damaged");
        row("as many scans as allowed", "progressive.jpg", 300, 10, 0, "16 x 16");
        row("an interlaced GIF frame of 65535 x 65535 on a 300 x 300 screen",
            "../../fuzz/corpus/fuzz_decode/huge-frame.gif", 300, decode::kMaxJpegScans, 0,
            "a 65535 x 65535 picture can need more than the 128 MiB allowed for decoding");
        row("a 4000 x 4000 progressive JPEG of 300 scans", "../../fuzz/corpus/fuzz_decode/scan-blocks.jpg", 300,
            decode::kMaxJpegScans, 0, "a progressive JPEG whose scans pass over more than 16777216 blocks");
        row("a sparse file of 1 GiB that begins as a bitmap of 0 x 0", QString(), 300, decode::kMaxJpegScans, 0,
            "the file is larger than 256 MiB");
    }

    void requests()
    {
        QFETCH(QString, file);
        QFETCH(int, clip);
        QFETCH(int, maxScans);
        QFETCH(int, target);
        QTemporaryFile sparse;
        QFile picture(QString(TEST_DATA_DIR) + "/pictures/" + file);
        if (file.isEmpty()) {
            QVERIFY(sparse.open() && sparse.write(QByteArray("BM") + QByteArray(52, '\0')) == 54 &&
                    sparse.resize(qint64(1) << 30) && sparse.flush());
            picture.setFileName(sparse.fileName());
        }
        QVERIFY(picture.open(QIODevice::ReadOnly));
        decode::Request request;
        request.clipWidth = request.clipHeight = clip;
        request.maxJpegScans = maxScans;
        if (target > 0) request.scaleTarget = [&](int, int) { return std::pair{target, target}; };
        QElapsedTimer clock;
        clock.start();
        const decode::Result result = decode::decodeFile(picture.handle(), request);
        QVERIFY2(clock.elapsed() < kHangBudgetMs, qPrintable(QString::number(clock.elapsed()) + " ms"));
        const QString canvas = QString("%1 x %2").arg(result.canvas.width).arg(result.canvas.height);
        QTEST(result.ok() ? canvas : QString::fromStdString(result.error), "expected");
    }

    // Pictures built byte by byte: what the decoder shows at some pixels, and whether it takes the data
    // as cut short; or its reason for refusing them.
    void built_data()
    {
        // expected: "x,y=RRGGBB ...", then "incomplete"; or the error
        const auto row = columns<QByteArray, QString>({"bytes", "expected"});
        const QByteArray red3("\0\0\xFF", 3), blue3("\xFF\0\0", 3), pad("\0\0", 2),
            masks565 = le(0xF800, 4) + le(0x07E0, 4) + le(0x1F, 4);
        row("OS/2 header, colour table shorter than 4 bits reach",
            bitmap(12, 2, 1, 4, 0, red3 + blue3 + le(0x01, 4), 32), "0,0=FF0000 1,0=0000FF");
        row("colour table shorter than 4 bits reach, no count",
            bitmap(40, 2, 1, 4, 0, red3 + '\0' + blue3 + '\0' + le(0x01, 4), 62), "0,0=FF0000 1,0=0000FF");
        row("5-5-5 white stays white", bitmap(40, 1, 1, 16, 0, le(0x7FFF, 4)), "0,0=FFFFFF");
        row("5-6-5 bit fields, white and one step", bitmap(40, 2, 1, 16, 3, masks565 + le(0xFFFF, 2) + le(0x0821, 2)),
            "0,0=FFFFFF 1,0=080408");
        row("bit fields of 1, 2 and 3 bits", bitmap(52, 1, 1, 16, 3, le(1, 4) + le(6, 4) + le(0x38, 4) + le(0x2D, 4)),
            "0,0=FFAAB6");
        row("56-byte header with an alpha mask",
            bitmap(56, 2, 1, 32, 3,
                   le(0xFF0000, 4) + le(0xFF00, 4) + le(0xFF, 4) + le(0xFF000000, 4) + le(0xFF0000, 4) +
                       le(0xFF0000FF, 4)),
            "0,0=FFFFFF 1,0=0000FF");
        row("108-byte header", bitmap(108, 1, 1, 24, 0, QByteArray(68, '\0') + blue3 + '\0'), "0,0=0000FF");
        row("pixels cut short, the bottom row whole", bitmap(40, 1, 2, 24, 0, blue3 + '\0'),
            "0,1=0000FF 0,0=000000 incomplete");
        row("RLE8 cut short", bitmap(40, 2, 2, 8, 1, blue3 + '\0' + "\x02\0\0\0", 58),
            "0,1=0000FF 0,0=0000FF incomplete");
        row("headerless DIB", bitmap(40, 1, 1, 24, 0, red3 + '\0', 0, true), "0,0=FF0000");
        row("GIF coded from 9 bits",
            QByteArray("GIF89a\1\0\1\0\x80\0\0\xFF\0\0\0\0\xFF,\0\0\0\0\1\0\1\0\0\x09\2\2\x44\1\0;", 34),
            "a GIF whose pixels are coded in more than 8 bits");
        row("lossless JPEG", QByteArray("\xFF\xD8\xFF\xC3\0\x0B\x08\0\1\0\1\1\1\x11\0\xFF\xD9", 17),
            "a kind of JPEG not read here");
        row("PNG of no width", "\x89PNG\r\n\x1A\n" + QByteArray("\0\0\0\x0DIHDR", 8) + QByteArray(17, '\0'),
            "damaged PNG data");
    }

    void built()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const decode::Result result = converterDecode(bytes);
        QStringList got;
        if (!result.ok()) got << QString::fromStdString(result.error);
        for (const QString &point : expected.split(' ')) {
            const int x = point.section(',', 0, 0).toInt(), y = point.section(',', 1).section('=', 0, 0).toInt();
            if (!result.ok() || !point.contains('=')) continue;
            const uint32_t c =
                x < result.canvas.width && y < result.canvas.height ? result.canvas.pixel(x, y) : 0xFFFFFFFF;
            got << QString::asprintf("%d,%d=%02X%02X%02X", x, y, c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF);
        }
        if (result.incomplete) got << "incomplete";
        QCOMPARE(got.join(' '), expected);
    }
};

QTEST_GUILESS_MAIN(tst_decode)
#include "tst_decode.moc"
