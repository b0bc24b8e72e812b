// SPDX-License-Identifier: MIT
// The failure report: the block appended to Errormsg.txt, the message, and the end of the program.
#include "support/fakeplatform.h"
#include "support/reportsupport.h"

#include "mainwindow/controls.h"
#include "mainwindow/errorreport.h"
#include "mainwindow/quennet.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

enum class Scenario { BadRenderArea, FolderGoneBeforeConvert, FolderGoneDuringScan, TickOverflow };

const QList<QList<QColor>> kPicture{{Qt::blue, Qt::green, Qt::blue}, {QColor(10, 20, 30), Qt::red, Qt::white}};

} // namespace

Q_DECLARE_METATYPE(Scenario)

class ErrorReportTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startupValues();
    void blocksFollowInRunOrder();
    void colorFailureShowsTheConversion();
    void failuresReachTheReport_data();
    void failuresReachTheReport();
    void tickFailureStopsTheScan();
    void reportIsClosedBeforeTheMessageAndWrittenOnce();
    void unwritableReportStillEnds();
    void blockBytes();

private:
    void prepareSmallConversion(ui::quennet &window, FakePlatform &fake, const QString &folder);
    void verifyEnded(const FakePlatform &fake);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_startFolder;
};

void ErrorReportTest::init()
{
    m_startFolder = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void ErrorReportTest::cleanup()
{
    QDir::setCurrent(m_startFolder);
    m_dir.reset();
}

void ErrorReportTest::prepareSmallConversion(ui::quennet &window, FakePlatform &fake, const QString &folder)
{
    loadTestPicture(window, fake, folder, kPicture);
    window.renderareapoint->setText("0 0 3 2");
    window.totpixels->setText("6");
    window.setScanEventInterval(std::chrono::nanoseconds(0));
}

void ErrorReportTest::verifyEnded(const FakePlatform &fake)
{
    QCOMPARE(fake.messages.constLast().text, "Error: Send file errormsg.txt to Corvalis...");
    QCOMPARE(fake.messages.constLast().title, "quennetproject");
    QCOMPARE(fake.messages.constLast().buttons, platform::Buttons::Ok);
    QVERIFY(fake.quitCalled);
    QVERIFY(fake.exitCode != 0);
}

// A name too short to number: the Convert command fails before it touches any counter.
void ErrorReportTest::startupValues()
{
    QFile existing("x");
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    FakePlatform fake;
    ui::quennet window(fake);
    window.convertfilename->setText("x");
    window.convertb_Click();

    QFile report("Errormsg.txt");
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QByteArray bytes = report.readAll();
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), 13);
    QCOMPARE(bytes.count("\r\n"), 13);
    const QStringList lines = reportLines();
    QCOMPARE(lines.mid(0, 2), QStringList({"----- 14.03.2024 09:26:53 -----", "Progress: Convert Button"}));
    QVERIFY(lines[2].startsWith("ErrD: ") && lines[2].size() > 6);
    QCOMPARE(lines[3], "ErrN: 5");
    QVERIFY(lines[4].startsWith("ErrS: ") && lines[4].size() > 6);
    QCOMPARE(lines.mid(5), QStringList({"RendS: ", "RendT: 0", "TotL: 0", "ConvL: 0", "ConvRGB: 0",
                                        "TotHex: ", "RendA: 0 0 300 300", "RendP: 90000"}));
    QCOMPARE(fake.messageTexts(), QStringList({"Are you sure?", "Error: Send file errormsg.txt to Corvalis..."}));
    verifyEnded(fake);
}

void ErrorReportTest::blocksFollowInRunOrder()
{
    QFile earlier("Errormsg.txt");
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("kept from before\r\n");
    earlier.close();

    for (const QString &when : QStringList{"1.1.2024 10:00:00", "2.1.2024 11:00:00"}) {
        FakePlatform fake;
        fake.dateTime = when;
        ui::quennet window(fake);
        window.convertlinenr->setText("1");
        window.rendertime = 32767;
        tick(window);
        verifyEnded(fake);
    }

    const QStringList lines = reportLines();
    QCOMPARE(lines.size(), 1 + 2 * 13);
    QCOMPARE(lines[0], "kept from before");
    QCOMPARE(lines[1], "----- 1.1.2024 10:00:00 -----");
    QCOMPARE(lines[14], "----- 2.1.2024 11:00:00 -----");
    QCOMPARE(lines[15], "Progress: Stat timer");
}

// "255 > red" sends pure red to the encoding as a colour that is no number; it is the fifth pixel,
// after one finished line and the pixel (10, 20, 30).
void ErrorReportTest::colorFailureShowsTheConversion()
{
    FakePlatform fake;
    ui::quennet window(fake);
    prepareSmallConversion(window, fake, m_dir->filePath("pictures"));
    window.ignorelist->addItem("255 > red");
    window.convertb_Click();

    const QStringList lines = reportLines();
    QCOMPARE(lines.size(), 13);
    QCOMPARE(lines[1], "Progress: Convert RGB");
    QCOMPARE(lines[3], "ErrN: 13");
    QCOMPARE(lines.mid(5), QStringList({"RendS: ", "RendT: 0", "TotL: 2", "ConvL: 1", "ConvRGB: 102030",
                                        "TotHex: 0A141E", "RendA: 0 0 3 2", "RendP: 6"}));
    QCOMPARE(fake.messageTexts(), QStringList({"Are you sure?", "Error: Send file errormsg.txt to Corvalis..."}));
    verifyEnded(fake);
}

void ErrorReportTest::failuresReachTheReport_data()
{
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<QString>("progress");
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<int>("linesDone");

    QTest::newRow("render area code not read") << Scenario::BadRenderArea << "Progress: Convert Button" << 13 << 0;
    QTest::newRow("folder gone before Convert")
        << Scenario::FolderGoneBeforeConvert << "Progress: Convert Button" << 75 << 0;
    QTest::newRow("folder gone during the scan")
        << Scenario::FolderGoneDuringScan << "Progress: Loopconvert" << 75 << 1;
    QTest::newRow("tick count overflow in the scan") << Scenario::TickOverflow << "Progress: Stat timer" << 6 << 1;
}

void ErrorReportTest::failuresReachTheReport()
{
    QFETCH(Scenario, scenario);
    QFETCH(QString, progress);
    QFETCH(int, errorNumber);
    QFETCH(int, linesDone);

    // The folder name is not plain ASCII, to show how the report spells file names.
    const QString folder = m_dir->filePath("Bilder ä");
    FakePlatform fake;
    ui::quennet window(fake);
    prepareSmallConversion(window, fake, folder);
    switch (scenario) {
    case Scenario::BadRenderArea:
        window.renderareapoint->setText("0 0 3 x");
        break;
    case Scenario::FolderGoneBeforeConvert:
        QVERIFY(QDir(folder).removeRecursively());
        break;
    case Scenario::FolderGoneDuringScan:
        fake.onProcessEvents = [&](int call) {
            if (call == 4) QDir(folder).removeRecursively();
        };
        break;
    case Scenario::TickOverflow:
        fake.onProcessEvents = [&](int call) {
            if (call == 4) {
                window.rendertime = 32767;
                tick(window);
            }
        };
        break;
    }
    window.convertb_Click();

    const QStringList lines = reportLines();
    QCOMPARE(lines.size(), 13);
    QCOMPARE(lines[1], progress);
    QCOMPARE(lines[3], "ErrN: " + QString::number(errorNumber));
    QCOMPARE(lines[8], "ConvL: " + QString::number(linesDone));
    if (errorNumber == 75) QVERIFY2(lines[2].contains("Bilder ä"), qPrintable(lines[2]));
    QCOMPARE(fake.messageTexts(), QStringList({"Are you sure?", "Error: Send file errormsg.txt to Corvalis..."}));
    verifyEnded(fake);
}

// The tick fails while the scan waits beneath it: the scan goes no further and the page is left
// as it was at the tick, without a tail.
void ErrorReportTest::tickFailureStopsTheScan()
{
    FakePlatform fake;
    ui::quennet window(fake);
    prepareSmallConversion(window, fake, m_dir->filePath("pictures"));
    qint64 pageAtTick = -1;
    int lastCall = 0;
    fake.onProcessEvents = [&](int call) {
        lastCall = call;
        if (call == 2) {
            window.convertlinenr->setText("not a number");
            pageAtTick = QFileInfo(window.convertfilename->text()).size();
            tick(window);
        }
    };
    window.convertb_Click();

    QCOMPARE(lastCall, 2);
    QVERIFY(pageAtTick > 0);
    QFile page(window.convertfilename->text());
    QVERIFY(page.open(QIODevice::ReadOnly));
    QCOMPARE(page.size(), pageAtTick);
    QVERIFY(!page.readAll().endsWith("</html>\r\n"));
    QCOMPARE(reportLines().value(1), "Progress: Stat timer");
    QCOMPARE(fake.messageTexts(), QStringList({"Are you sure?", "Error: Send file errormsg.txt to Corvalis..."}));
    verifyEnded(fake);
}

void ErrorReportTest::reportIsClosedBeforeTheMessageAndWrittenOnce()
{
    FakePlatform fake;
    ui::quennet window(fake);
    window.convertlinenr->setText("3");
    window.rendertime = 32767;
    int linesWhileShown = -1;
    fake.onMessage = [&](const FakePlatform::Message &) {
        linesWhileShown = reportLines().size();
        // The timer may still fire while the box is open; the count is still out of range.
        tick(window);
    };
    tick(window);

    QCOMPARE(linesWhileShown, 13);
    QCOMPARE(reportLines().size(), 13);
    QCOMPARE(fake.messages.size(), 1);
    verifyEnded(fake);
}

// A folder where the report should be: no one, not even root, can append to it.
void ErrorReportTest::unwritableReportStillEnds()
{
    QVERIFY(QDir().mkdir("Errormsg.txt"));
    FakePlatform fake;
    ui::quennet window(fake);
    window.convertlinenr->setText("3");
    window.rendertime = 32767;
    tick(window);

    QCOMPARE(fake.messages.size(), 1);
    verifyEnded(fake);
}

// The mouse handler's label, and text outside ASCII written as UTF-8.
void ErrorReportTest::blockBytes()
{
    ui::ErrorReport report;
    report.dateTime = "14.03.2024 09:26:53";
    report.operation = engine::Operation::MainpicMouse;
    report.description = "Größe";
    report.number = -2147483647 - 1;
    report.source = "mainpic";
    report.renderStatus = "true";
    report.renderTime = -5;
    report.totalLines = 300;
    report.linesDone = "12";
    report.rgbText = "25500";
    report.hexColor = "FF0000";
    report.renderArea = "1 2 3 4";
    report.renderPixels = "4";

    QCOMPARE(ui::errorBlock(report), QByteArray("----- 14.03.2024 09:26:53 -----\r\n"
                                                "Progress: Mainpic mouse\r\n"
                                                "ErrD: Gr\xc3\xb6\xc3\x9f"
                                                "e\r\n"
                                                "ErrN: -2147483648\r\n"
                                                "ErrS: mainpic\r\n"
                                                "RendS: true\r\n"
                                                "RendT: -5\r\n"
                                                "TotL: 300\r\n"
                                                "ConvL: 12\r\n"
                                                "ConvRGB: 25500\r\n"
                                                "TotHex: FF0000\r\n"
                                                "RendA: 1 2 3 4\r\n"
                                                "RendP: 4\r\n"));
}

QTEST_MAIN(ErrorReportTest)
#include "tst_errorreport.moc"
