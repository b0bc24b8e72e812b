// SPDX-License-Identifier: MIT
// The scan: which pixels, which characters, which colours, and when it lets events through.
#include "engine/failure.h"
#include "support/scansupport.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGreen = 0x00FF00;

// The body line between "<pre>" and "</pre>".
QByteArray body(const QByteArray &page)
{
    const int start = page.indexOf("<pre>") + 5;
    return page.mid(start, page.indexOf("</pre>") - start);
}

// The message characters of a page in order, with the markup taken out.
QByteArray characters(const QByteArray &page)
{
    QString text = QString::fromLatin1(body(page));
    text.remove(QRegularExpression("<[^>]*>"));
    return text.toLatin1();
}

} // namespace

class TestScan : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void visitsTheAreaInRowOrder();
    void sequentialCharacters_data();
    void sequentialCharacters();
    void randomCharactersComeFromTheMessage();
    void sameSeedSameCharacters();
    void runsMergeWithinRowsOnly();
    void replacements_data();
    void replacements();
    void replacementToTextThatIsNoColorFailsInEncoding();
    void progressCountsWholeRows();
    void eventsAfterFirstPixelThenByTime();
    void colorStateCarriesAcrossRows();

private:
    QString page() const { return m_dir.filePath("page.htm"); }
    QTemporaryDir m_dir;
};

void TestScan::visitsTheAreaInRowOrder()
{
    GridSource pixels({{1, 2, 3}, {4, 5, 6}}, 10, 20);
    engine::ScanSettings s = smallScan(3, 2);
    s.area = {10, 20, 13, 22};
    convertToPage(s, pixels, page());
    const std::vector<std::pair<int, int>> expected{{10, 20}, {11, 20}, {12, 20}, {10, 21}, {11, 21}, {12, 21}};
    QCOMPARE(pixels.visited, expected);
}

void TestScan::sequentialCharacters_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("two");
    QTest::addColumn<QByteArray>("chars");
    // 3 x 2 pixels; the position carries over row ends.
    QTest::newRow("01, one per pixel") << "01" << false << QByteArray("010101");
    QTest::newRow("01, two per pixel") << "01" << true << QByteArray("010101010101");
    QTest::newRow("ABC, two per pixel wraps mid-piece") << "ABC" << true << QByteArray("ABCABCABCABC");
    QTest::newRow("one-character message") << "Z" << false << QByteArray("ZZZZZZ");
}

void TestScan::sequentialCharacters()
{
    QFETCH(QString, message);
    QFETCH(bool, two);
    QFETCH(QByteArray, chars);
    GridSource pixels({{0, 0, 0}, {0, 0, 0}});
    engine::ScanSettings s = smallScan(3, 2, message.toStdString());
    s.twoCharsPerPixel = two;
    QCOMPARE(characters(convertToPage(s, pixels, page())), chars);
}

void TestScan::randomCharactersComeFromTheMessage()
{
    GridSource pixels(std::vector<std::vector<int32_t>>(20, std::vector<int32_t>(20, 0)));
    engine::ScanSettings s = smallScan(20, 20, "XYZ");
    s.randomOrder = true;
    s.twoCharsPerPixel = true;
    s.seed = 42;
    const QByteArray chars = characters(convertToPage(s, pixels, page()));
    QCOMPARE(chars.size(), 800);
    for (char c : {'X', 'Y', 'Z'}) {
        // Each of three characters drawn uniformly: 800 / 3 = 267, far from 150 or 380.
        QVERIFY2(chars.count(c) > 150 && chars.count(c) < 380,
                 qPrintable(QString("%1: %2").arg(c).arg(chars.count(c))));
    }
    QCOMPARE(chars.count('X') + chars.count('Y') + chars.count('Z'), 800);
    // Seeding per pixel repeated characters in long stretches; a uniform draw rarely does.
    QVERIFY(!chars.contains("XXXXXXXXXXXX") && !chars.contains("YYYYYYYYYYYY") && !chars.contains("ZZZZZZZZZZZZ"));
}

void TestScan::sameSeedSameCharacters()
{
    GridSource pixels({{0, 0, 0, 0, 0, 0, 0, 0}});
    engine::ScanSettings s = smallScan(8, 1, "0123456789");
    s.randomOrder = true;
    s.seed = 7;
    const QByteArray first = characters(convertToPage(s, pixels, page()));
    QCOMPARE(characters(convertToPage(s, pixels, page())), first);
    s.seed = 8;
    QVERIFY(characters(convertToPage(s, pixels, page())) != first);
}

void TestScan::runsMergeWithinRowsOnly()
{
    GridSource pixels({{kRed, kRed, kGreen, kRed}, {kRed, kRed, kRed, kRed}});
    const QByteArray got = body(convertToPage(smallScan(4, 2, "A"), pixels, page()));
    QCOMPARE(got, QByteArray("<font color=#FF0000>AA</font><font color=#00FF00>A</font><font color=#FF0000>A</font><br>"
                             "<font color=#FF0000>AAAA</font><br>"));
}

void TestScan::replacements_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("pixel");
    QTest::addColumn<QByteArray>("hex");
    QTest::newRow("empty list keeps the colour") << QStringList{} << kRed << QByteArray("FF0000");
    QTest::newRow("255 > 0 makes red black") << QStringList{"255 > 0"} << kRed << QByteArray("000000");
    QTest::newRow("entries chain in list order")
        << QStringList{"255 > 65280", "65280 > 0"} << kRed << QByteArray("000000");
    QTest::newRow("reversed, the chain does not happen")
        << QStringList{"65280 > 0", "255 > 65280"} << kRed << QByteArray("00FF00");
    QTest::newRow("earlier of two entries for one colour wins")
        << QStringList{"255 > 0", "255 > 65280"} << kRed << QByteArray("000000");
    QTest::newRow("four fields are passed over") << QStringList{"255 > 0 1"} << kRed << QByteArray("FF0000");
    QTest::newRow("one field is passed over") << QStringList{"255"} << kRed << QByteArray("FF0000");
    QTest::newRow("double space makes four fields") << QStringList{"255  > 0"} << kRed << QByteArray("FF0000");
    QTest::newRow("text comparison: 0255 is not 255") << QStringList{"0255 > 0"} << kRed << QByteArray("FF0000");
    QTest::newRow("an unreadable point can be replaced") << QStringList{"-1 > 255"} << -1 << QByteArray("FF0000");
    QTest::newRow("unreplaced unreadable point is white") << QStringList{} << -1 << QByteArray("FFFFFF");
    QTest::newRow("text replacement chains by text")
        << QStringList{"255 > 007", "007 > 65280"} << kRed << QByteArray("00FF00");
    QTest::newRow("text replacement that reads as a number")
        << QStringList{"255 > 007"} << kRed << QByteArray("070000");
}

void TestScan::replacements()
{
    QFETCH(QStringList, entries);
    QFETCH(int, pixel);
    QFETCH(QByteArray, hex);
    GridSource pixels(std::vector<std::vector<int32_t>>{{pixel}});
    engine::ScanSettings s = smallScan(1, 1, "A");
    for (const QString &entry : entries)
        s.replacements.push_back(entry.toStdString());
    QCOMPARE(body(convertToPage(s, pixels, page())), "<font color=#" + hex + ">A</font><br>");
}

void TestScan::replacementToTextThatIsNoColorFailsInEncoding()
{
    GridSource pixels({{0, kRed}});
    engine::ScanSettings s = smallScan(2, 1, "A");
    s.replacements = {"255 > red"};
    engine::Conversion conversion(s);
    ScriptedHost host;
    conversion.startDocument(page().toStdString());
    try {
        conversion.Loopconvert(pixels, host);
        QFAIL("no failure");
    } catch (const engine::Failure &failure) {
        QCOMPARE(failure.operation(), engine::Operation::ConvertRGB);
        QCOMPARE(failure.number(), 13);
    }
    QCOMPARE(conversion.pixelcolor(), std::string("red"));
    // The first pixel's piece is on disk, and no tail.
    QVERIFY(readAll(page()).endsWith("<pre><font color=#000000>A"));
}

void TestScan::progressCountsWholeRows()
{
    GridSource pixels(std::vector<std::vector<int32_t>>(3, std::vector<int32_t>(4, 0)));
    engine::Conversion conversion(smallScan(4, 3));
    ScriptedHost host;
    QList<QPair<int, int>> seen; // (lines, pixels) whenever events are processed
    host.onEvents = [&](int) { seen.append({conversion.linesDone(), conversion.pixelsDone()}); };
    conversion.startDocument(page().toStdString());
    QCOMPARE(conversion.Loopconvert(pixels, host), engine::ScanResult::Completed);
    QCOMPARE(seen.size(), 11); // every pixel but the last, which completes without events
    QCOMPARE(seen.at(2), qMakePair(0, 0));
    QCOMPARE(seen.at(3), qMakePair(1, 4));
    QCOMPARE(seen.at(10), qMakePair(2, 8));
    QCOMPARE(conversion.linesDone(), 3);
    QCOMPARE(conversion.pixelsDone(), 12);
    QCOMPARE(conversion.totallines, 3);
    QVERIFY(conversion.stopconvert());
}

void TestScan::eventsAfterFirstPixelThenByTime()
{
    GridSource pixels(std::vector<std::vector<int32_t>>(300, std::vector<int32_t>(300, 0)));
    engine::ScanSettings s = smallScan(300, 300);
    s.eventInterval = std::chrono::hours(1);
    engine::Conversion conversion(s);
    ScriptedHost host;
    int pixelsAtFirstCall = -1;
    host.onEvents = [&](int) { pixelsAtFirstCall = int(pixels.visited.size()); };
    conversion.startDocument(page().toStdString());
    conversion.Loopconvert(pixels, host);
    QCOMPARE(host.calls, 1);
    QCOMPARE(pixelsAtFirstCall, 1);
}

void TestScan::colorStateCarriesAcrossRows()
{
    // At quality 80 the second row's 104 is still held at the first row's 100.
    GridSource pixels(std::vector<std::vector<int32_t>>{{100}, {104}});
    engine::ScanSettings s = smallScan(1, 2, "A");
    s.quality = 80;
    QCOMPARE(body(convertToPage(s, pixels, page())),
             QByteArray("<font color=#640000>A</font><br><font color=#640000>A</font><br>"));
}

QTEST_GUILESS_MAIN(TestScan)
#include "tst_scan.moc"
