// SPDX-License-Identifier: MIT
// Exact bytes of whole pages.
#include "engine/failure.h"
#include "support/scansupport.h"

#include <QtTest>

namespace {

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGreen = 0x00FF00;

const QByteArray kBlackHead = "<html><head><title>Orvanta @ Lumirune</title></head><body bgcolor=#000000><font size=";

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void workedExample();
    void abortedAfterFourthPixel();
    void variants_data();
    void variants();
    void ampersandAndNordicLetters();
    void uncreatableFileFails();
    void writerFollowsARemovedFile();

private:
    QString page() const { return m_dir.filePath("cat1.htm"); }
    QTemporaryDir m_dir;
};

void TestDocument::workedExample()
{
    GridSource pixels({{kRed, kRed, kGreen}, {kGreen, kGreen, kGreen}});
    engine::ScanSettings s = smallScan(3, 2, "AB");
    s.page.fontSize = "2";
    QCOMPARE(convertToPage(s, pixels, page()),
             kBlackHead + "2>\r\n"
                          "<pre><font color=#FF0000>AB</font><font color=#00FF00>A</font><br>"
                          "<font color=#00FF00>BAB</font><br></pre>"
                          "<font color=#FFFFFF>Orvanta @ Lumirune</font></font></body></html>\r\n");
}

void TestDocument::abortedAfterFourthPixel()
{
    GridSource pixels({{kRed, kRed, kGreen}, {kGreen, kGreen, kGreen}});
    engine::ScanSettings s = smallScan(3, 2, "AB");
    s.page.fontSize = "2";
    engine::Conversion conversion(s);
    ScriptedHost host;
    host.onEvents = [&](int call) {
        if (call == 4) // the STOP click lands while events are processed after the fourth pixel
            conversion.abort();
    };
    conversion.startDocument(page().toStdString());
    QCOMPARE(conversion.Loopconvert(pixels, host), engine::ScanResult::Stopped);
    QCOMPARE(pixels.visited.size(), 4u);
    QCOMPARE(readAll(page()), kBlackHead +
                                  "2>\r\n"
                                  "<pre><font color=#FF0000>AB</font><font color=#00FF00>A</font><br>"
                                  "<font color=#00FF00>B</pre>"
                                  "<br><font color=#FFFFFF>Orvanta @ Lumirune</font></font></body></html>\r\n");
    QCOMPARE(conversion.linesDone(), 1);
    QVERIFY(conversion.stopconvert());
}

void TestDocument::variants_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("pre");
    QTest::addColumn<bool>("black");
    QTest::addColumn<bool>("two");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("one pixel wide: every row opens and closes a run")
        << 1 << true << true << false
        << QByteArray("<pre><font color=#FF0000>A</font><br><font color=#FF0000>B</font><br></pre>");
    QTest::newRow("no pre") << 1 << false << true << false
                            << QByteArray("<font color=#FF0000>A</font><br><font color=#FF0000>B</font><br>");
    QTest::newRow("two characters per pixel merge into one run")
        << 2 << true << true << true
        << QByteArray("<pre><font color=#FF0000>ABAB</font><br><font color=#FF0000>ABAB</font><br></pre>");
}

void TestDocument::variants()
{
    QFETCH(int, width);
    QFETCH(bool, pre);
    QFETCH(bool, black);
    QFETCH(bool, two);
    QFETCH(QByteArray, body);
    GridSource pixels({{kRed, kRed}, {kRed, kRed}});
    engine::ScanSettings s = smallScan(width, 2, "AB");
    s.page.insertPre = pre;
    s.page.blackBackground = black;
    s.twoCharsPerPixel = two;
    const QByteArray credit = "<font color=#FFFFFF>Orvanta @ Lumirune</font></font></body></html>\r\n";
    QCOMPARE(convertToPage(s, pixels, page()), kBlackHead + "1>\r\n" + body + credit);
}

void TestDocument::ampersandAndNordicLetters()
{
    GridSource pixels({{0, 0, 0, 0}});
    engine::ScanSettings s = smallScan(4, 1, "&\xC5\xC4\xD6"); // & Å Ä Ö in Windows-1252
    s.page.blackBackground = false;
    const QByteArray bytes = convertToPage(s, pixels, page());
    QVERIFY(bytes.startsWith("<html><head><title>Orvanta @ Lumirune</title></head><body bgcolor=#FFFFFF><font size=1>"
                             "\r\n<pre>"));
    QVERIFY2(bytes.contains("<font color=#000000>&amp;\xC5\xC4\xD6</font><br>"), bytes.constData());
    QCOMPARE(bytes.count("\r\n"), 2); // head line and body line, nothing in between
    QCOMPARE(bytes.count('\n'), 2);
}

void TestDocument::uncreatableFileFails()
{
    QFile plain(m_dir.filePath("plain"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    engine::Conversion conversion(smallScan(1, 1));
    try {
        conversion.startDocument(m_dir.filePath("plain/cat1.htm").toStdString()); // parent is a file
        QFAIL("a page was created under a plain file");
    } catch (const engine::Failure &failure) {
        QCOMPARE(failure.number(), 75);
        QVERIFY(QString(failure.what()).contains("plain/cat1.htm"));
    }
}

// A page that vanishes mid-conversion is written again by name, as a writer that opens the file
// for every piece would; if its folder is gone too, the conversion fails instead of writing into
// an unlinked file.
void TestDocument::writerFollowsARemovedFile()
{
    GridSource pixels({{0, 0, 0}});
    engine::ScanSettings s = smallScan(3, 1);
    {
        engine::Conversion conversion(s);
        ScriptedHost host;
        host.onEvents = [&](int call) {
            if (call == 1) QFile::remove(page());
        };
        conversion.startDocument(page().toStdString());
        conversion.Loopconvert(pixels, host);
        QCOMPARE(readAll(page()), QByteArray("BA</font><br></pre><font color=#FFFFFF>Orvanta @ Lumirune</font>"
                                             "</font></body></html>\r\n"));
    }
    QTemporaryDir doomed;
    const QString path = doomed.filePath("cat1.htm");
    engine::Conversion conversion(s);
    ScriptedHost host;
    host.onEvents = [&](int call) {
        if (call == 1) QVERIFY(QDir(doomed.path()).removeRecursively());
    };
    conversion.startDocument(path.toStdString());
    try {
        conversion.Loopconvert(pixels, host);
        QFAIL("writing into a removed folder was reported as success");
    } catch (const engine::Failure &failure) {
        QCOMPARE(failure.operation(), engine::Operation::Loopconvert);
        QCOMPARE(failure.number(), 75);
    }
}

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
