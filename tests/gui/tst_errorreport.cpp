// SPDX-License-Identifier: MIT
// The failure report: the block appended to Errormsg.txt, the message, and the end of the program.
#include "support/reportsupport.h"

#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

enum class Scenario { BadRenderArea, FolderGoneBeforeConvert, FolderGoneDuringScan };
Q_DECLARE_METATYPE(Scenario)

class ErrorReportTest : public QObject
{
    Q_OBJECT

private slots:
    void startupValues();
    void blocksFollowInRunOrder();
    void colorFailureShowsTheConversion();
    void failuresReachTheReport_data();
    void failuresReachTheReport();
    void tickFailureStopsTheScan();
    void reportIsClosedBeforeTheMessageAndWrittenOnce();
    void unwritableReportStillEnds();
};

namespace {

// Row two: (10, 20, 30), then pure red.
const QList<QList<QColor>> kPicture{{Qt::blue, Qt::green, Qt::blue}, {QColor(10, 20, 30), Qt::red, Qt::white}};

void verifyEnded(const FakePlatform &fake)
{
    QCOMPARE(fake.messages.size(), 1 + fake.messageTexts().count("Are you sure?"));
    QCOMPARE(fake.messages.constLast().text, "Error: Send file errormsg.txt to Corvalis...");
    QCOMPARE(fake.messages.constLast().title, "quennetproject");
    QCOMPARE(fake.messages.constLast().buttons, platform::Buttons::Ok);
    QVERIFY(fake.quitCalled && fake.exitCode != 0);
}

// A tick whose count leaves the signed 16-bit range.
void failTick(ui::quennet &window)
{
    window.convertlinenr->setText("3");
    window.rendertime = 32767;
    tick(window);
}

} // namespace

// A file name too short to number fails the Convert command before it touches any counter.
void ErrorReportTest::startupValues()
{
    ScratchFolder scratch;
    QVERIFY(QFile("x").open(QIODevice::WriteOnly));
    FakePlatform fake;
    ui::quennet window(fake);
    window.convertfilename->setText("x");
    window.convertb_Click();

    QFile report("Errormsg.txt");
    QVERIFY(report.open(QIODevice::ReadOnly));
    QCOMPARE(report.readAll(), QByteArray("----- 14.03.2024 09:26:53 -----\r\n"
                                          "Progress: Convert Button\r\n"
                                          "ErrD: Invalid file name \"x\": shorter than four characters\r\n"
                                          "ErrN: 5\r\n"
                                          "ErrS: OutputName\r\n"
                                          "RendS: \r\n"
                                          "RendT: 0\r\n"
                                          "TotL: 0\r\n"
                                          "ConvL: 0\r\n"
                                          "ConvRGB: 0\r\n"
                                          "TotHex: \r\n"
                                          "RendA: 0 0 300 300\r\n"
                                          "RendP: 90000\r\n"));
    verifyEnded(fake);
}

void ErrorReportTest::blocksFollowInRunOrder()
{
    ScratchFolder scratch;
    QFile earlier("Errormsg.txt");
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("kept from before\r\n");
    earlier.close();

    for (const QString &when : QStringList{"1.1.2024 10:00:00", "2.1.2024 11:00:00"}) {
        FakePlatform fake;
        fake.dateTime = when;
        ui::quennet window(fake);
        failTick(window);
        verifyEnded(fake);
    }
    const QStringList lines = reportLines();
    QCOMPARE(lines.size(), 1 + 2 * 13);
    QCOMPARE(lines[0], "kept from before");
    QCOMPARE(lines[1], "----- 1.1.2024 10:00:00 -----");
    QCOMPARE(lines[14], "----- 2.1.2024 11:00:00 -----");
}

// "255 > red" hands pure red to the encoding as a colour that is no number.
void ErrorReportTest::colorFailureShowsTheConversion()
{
    ScratchFolder scratch;
    FakePlatform fake;
    ui::quennet window(fake);
    loadTestPicture(window, fake, scratch.filePath("pictures"), kPicture);
    window.ignorelist->addItem("255 > red");
    window.convertb_Click();

    const QStringList lines = reportLines();
    QCOMPARE(lines.size(), 13);
    QCOMPARE(lines[1], "Progress: Convert RGB");
    QCOMPARE(lines[3], "ErrN: 13");
    QCOMPARE(lines.mid(5), QStringList({"RendS: ", "RendT: 0", "TotL: 2", "ConvL: 1", "ConvRGB: 102030",
                                        "TotHex: 0A141E", "RendA: 0 0 3 2", "RendP: 6"}));
    verifyEnded(fake);
}

void ErrorReportTest::failuresReachTheReport_data()
{
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<QString>("progress");
    QTest::addColumn<QString>("errorNumber");

    QTest::newRow("render area code not read") << Scenario::BadRenderArea << "Progress: Convert Button"
                                               << "ErrN: 13";
    QTest::newRow("folder gone before Convert") << Scenario::FolderGoneBeforeConvert << "Progress: Convert Button"
                                                << "ErrN: 75";
    QTest::newRow("folder gone during the scan") << Scenario::FolderGoneDuringScan << "Progress: Loopconvert"
                                                 << "ErrN: 75";
}

void ErrorReportTest::failuresReachTheReport()
{
    QFETCH(Scenario, scenario);
    QFETCH(QString, progress);
    QFETCH(QString, errorNumber);

    ScratchFolder scratch;
    // Not plain ASCII, to show that the report spells file names as the file system does.
    const QString folder = scratch.filePath("Bilder ä");
    FakePlatform fake;
    ui::quennet window(fake);
    loadTestPicture(window, fake, folder, kPicture);
    if (scenario == Scenario::BadRenderArea) window.renderareapoint->setText("0 0 3 x");
    if (scenario == Scenario::FolderGoneBeforeConvert) QVERIFY(QDir(folder).removeRecursively());
    fake.onProcessEvents = [&](int call) {
        if (scenario == Scenario::FolderGoneDuringScan && call == 4) QDir(folder).removeRecursively();
    };
    window.convertb_Click();

    const QStringList lines = reportLines();
    QCOMPARE(lines.size(), 13);
    QCOMPARE(lines[1], progress);
    QCOMPARE(lines[3], errorNumber);
    if (scenario != Scenario::BadRenderArea) QVERIFY2(lines[2].contains("/Bilder ä/"), qPrintable(lines[2]));
    verifyEnded(fake);
}

// The tick fails while the scan waits beneath it: the scan goes no further and the page stays as
// it was at the tick, without a tail.
void ErrorReportTest::tickFailureStopsTheScan()
{
    ScratchFolder scratch;
    FakePlatform fake;
    ui::quennet window(fake);
    loadTestPicture(window, fake, scratch.filePath("pictures"), kPicture);
    qint64 pageAtTick = -1;
    fake.onProcessEvents = [&](int call) {
        QCOMPARE(call, 1);
        pageAtTick = QFileInfo(window.convertfilename->text()).size();
        failTick(window);
    };
    window.convertb_Click();

    QFile page(window.convertfilename->text());
    QVERIFY(page.open(QIODevice::ReadOnly));
    QVERIFY(pageAtTick > 0);
    QCOMPARE(page.size(), pageAtTick);
    QVERIFY(!page.readAll().endsWith("</html>\r\n"));
    QCOMPARE(reportLines().value(1), "Progress: Stat timer");
    verifyEnded(fake);
}

void ErrorReportTest::reportIsClosedBeforeTheMessageAndWrittenOnce()
{
    ScratchFolder scratch;
    FakePlatform fake;
    ui::quennet window(fake);
    int linesWhileShown = -1;
    fake.onMessage = [&](const FakePlatform::Message &) {
        linesWhileShown = reportLines().size();
        // The timer may fire while the box is open, its count still out of range.
        failTick(window);
    };
    failTick(window);

    QCOMPARE(linesWhileShown, 13);
    QCOMPARE(reportLines().size(), 13);
    verifyEnded(fake);
}

// A folder in the report's place: no one, not even root, can append to it.
void ErrorReportTest::unwritableReportStillEnds()
{
    ScratchFolder scratch;
    QVERIFY(QDir().mkdir("Errormsg.txt"));
    FakePlatform fake;
    ui::quennet window(fake);
    failTick(window);
    verifyEnded(fake);
}

QTEST_MAIN(ErrorReportTest)
#include "tst_errorreport.moc"
