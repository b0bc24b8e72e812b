// SPDX-License-Identifier: MIT
// The scan and the page it writes: which pixels, which characters, which colours, exact bytes.
#include "engine/failure.h"
#include "engine/scan.h"

#include <QtTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace {

using Grid = QList<QList<int>>; // rows of 0x00BBGGRR values

constexpr int kRed = 0x0000FF;
constexpr int kGreen = 0x00FF00;

const QByteArray kCredit = "<font color=#FFFFFF>Orvanta @ Lumirune</font></font></body></html>\r\n";

// A picture at the top left of the drawing area.
struct GridSource : engine::PixelSource
{
    explicit GridSource(Grid rows) : rows(std::move(rows)) {}
    int32_t pixel(int x, int y) override { return rows.value(y).value(x, -1); }
    Grid rows;
};

// Calls back where the scan lets events through, as a window's STOP click would arrive.
struct Host : engine::ScanHost
{
    void processEvents() override { onEvents(++calls); }
    int calls = 0;
    std::function<void(int call)> onEvents = [](int) {};
};

// A small area with the message taken in order, so pages are predictable.
engine::ScanSettings smallScan(int width, int height, const std::string &message = "AB")
{
    engine::ScanSettings s;
    s.area = {0, 0, int16_t(width), int16_t(height)};
    s.pixelCount = width * height;
    s.message = message;
    s.randomOrder = false;
    s.twoCharsPerPixel = false;
    s.eventInterval = std::chrono::nanoseconds(0);
    return s;
}

// The body between "<pre>" and "</pre>".
QByteArray body(const QByteArray &page)
{
    const int start = page.indexOf("<pre>") + 5;
    return page.mid(start, page.indexOf("</pre>") - start);
}

} // namespace

class TestConversion : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY((m_dir = std::make_unique<QTemporaryDir>())->isValid()); }
    void replacements_data();
    void replacements();
    void randomCharactersAreSeededOncePerConversion();
    void removedPage();
    void fullDiskKeepsEveryWholePiece_data();
    void fullDiskKeepsEveryWholePiece();

private:
    QString page() const { return m_dir->filePath("cat1.htm"); }
    // Converts into the page; onEvents runs wherever the scan lets events through.
    QByteArray convert(
        const engine::ScanSettings &settings, GridSource &pixels,
        const std::function<void(int call)> &onEvents = [](int) {})
    {
        engine::Conversion conversion(settings);
        Host host;
        host.onEvents = onEvents;
        conversion.startDocument(page().toStdString());
        conversion.Loopconvert(pixels, host);
        QFile file(page());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

// Ignore-list entries, in list order, on one pixel.
void TestConversion::replacements_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("pixel");
    QTest::addColumn<QByteArray>("hex");
    const auto row = [](const char *name, const QStringList &entries, const char *hex, int pixel = kRed) {
        QTest::newRow(name) << entries << pixel << QByteArray(hex);
    };
    row("entries chain in list order", {"255 > 65280", "65280 > 0"}, "000000");
    row("reversed, the chain does not happen", {"65280 > 0", "255 > 65280"}, "00FF00");
    row("earlier of two entries for one colour wins", {"255 > 0", "255 > 65280"}, "000000");
    row("entries of four fields, one field or a double space are passed over", {"255 > 0 1", "255", "255  > 0"},
        "FF0000");
    row("colours compare as text: 0255 is not 255", {"0255 > 0"}, "FF0000");
    row("an unreadable point can be replaced", {"-1 > 255"}, "FF0000", -1);
    row("text replacement chains by text", {"255 > 007", "007 > 65280"}, "00FF00");
    row("text replacement that reads as a number", {"255 > 007"}, "070000");
}

void TestConversion::replacements()
{
    QFETCH(QStringList, entries);
    QFETCH(int, pixel);
    QFETCH(QByteArray, hex);
    engine::ScanSettings s = smallScan(1, 1, "A");
    for (const QString &entry : entries)
        s.replacements.push_back(entry.toStdString());
    GridSource pixels(Grid{{pixel}});
    QCOMPARE(body(convert(s, pixels)), "<font color=#" + hex + ">A</font><br>");
}

void TestConversion::randomCharactersAreSeededOncePerConversion()
{
    GridSource pixels(Grid(20, QList<int>(20, 0)));
    engine::ScanSettings s = smallScan(20, 20, "XYZ");
    s.randomOrder = true;
    s.twoCharsPerPixel = true;
    s.seed = 42;
    const QByteArray chars = body(convert(s, pixels)); // markup holds none of X, Y and Z
    QCOMPARE(chars.count('X') + chars.count('Y') + chars.count('Z'), 800);
    for (char c : {'X', 'Y', 'Z'}) {
        // Each of three characters drawn uniformly: 800 / 3 = 267, far from 150 or 380.
        QVERIFY2(chars.count(c) > 150 && chars.count(c) < 380,
                 qPrintable(QString("%1: %2").arg(c).arg(chars.count(c))));
        // Seeding per pixel repeated characters in long stretches; a uniform draw rarely does.
        QVERIFY(!chars.contains(QByteArray(12, c)));
    }
    QCOMPARE(body(convert(s, pixels)), chars);
    s.seed = 43;
    QVERIFY(body(convert(s, pixels)) != chars);
}

// A removed page is written again by name from the next piece on, as a writer opening it per piece would.
void TestConversion::removedPage()
{
    GridSource pixels({{0, 0, 0}});
    QCOMPARE(convert(smallScan(3, 1), pixels,
                     [&](int call) {
                         if (call == 1) QFile::remove(page());
                     }),
             "BA</font><br></pre>" + kCredit);
}

// A disk that fills up, made without privileges: past the file size limit write() fails with EFBIG
// (SIGXFSZ ignored), after writing what fits.
struct FileSizeLimit
{
    rlimit previous{};
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        const rlimit limit{bytes, previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &previous); }
};

void TestConversion::fullDiskKeepsEveryWholePiece_data()
{
    QTest::addColumn<int>("piece"); // the disk fills this many bytes past the end of this piece
    QTest::addColumn<int>("past");
    QTest::newRow("inside the head") << 0 << 40;
    QTest::newRow("on a piece end mid-scan") << 6 << 0;
    QTest::newRow("inside a piece mid-scan") << 6 << 3;
    QTest::newRow("inside the piece that opens a row") << 8 << 20;
}

// The page keeps every whole piece that fits and nothing of the next: the longest prefix of the
// complete page that ends on a piece end. Pieces written together are cut back to the last whole one.
void TestConversion::fullDiskKeepsEveryWholePiece()
{
    QFETCH(int, piece);
    QFETCH(int, past);
    GridSource pixels({{kRed, kRed, kGreen, kGreen}, {kRed, kGreen, kGreen, 0}, {0, 0, kRed, kRed}});
    engine::ScanSettings s = smallScan(4, 3, "&"); // five bytes a character: every piece has an inside
    QList<qint64> ends{0}; // where pieces end: the page's sizes while events run after every pixel
    const QByteArray complete = convert(s, pixels, [&](int) { ends << QFileInfo(page()).size(); });
    const qint64 limit = ends[piece] + past;
    s.eventInterval = std::chrono::hours(1); // the first pixel alone, then all the others in one write
    try {
        FileSizeLimit full(limit);
        convert(s, pixels);
        QFAIL("a write past the file size limit was reported as success");
    } catch (const engine::Failure &failure) {
        QCOMPARE(failure.number(), 75);
        QVERIFY2(QString(failure.what()).endsWith("File too large"), failure.what());
    }
    QFile file(page());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), complete.left(*std::prev(std::upper_bound(ends.begin(), ends.end(), limit))));
}

QTEST_GUILESS_MAIN(TestConversion)
#include "tst_conversion.moc"
