// SPDX-License-Identifier: MIT
// The main window driven through its named controls on a fake platform: Convert, Load picture and
// closing, the status timer, and the failure report with the end of the program.
#include "mainwindow/controls.h"
#include "mainwindow/quennet.h"
#include "picture/picturebox.h"
#include "support/fakeplatform.h"
#include "support/unusualpictures.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <malloc.h>
#include <sys/mount.h>

namespace {

const QByteArray kHead = "<html><head><title>Orvanta @ Lumirune</title></head><body bgcolor=#000000><font size=1>\r\n";
const QByteArray kTail = "<font color=#FFFFFF>Orvanta @ Lumirune</font></font></body></html>\r\n";

// One window on a fake platform, run in a fresh current directory so that pictures, pages and the
// report file land there.
struct Run
{
    QString previous = QDir::currentPath();
    QTemporaryDir folder;
    bool entered = QDir::setCurrent(folder.path());
    FakePlatform fake;
    ui::quennet w{fake};
    ~Run() { QDir::setCurrent(previous); }
};

// Copies the 3 x 2 picture blue blue green / green green white to path and loads it through the
// file dialog, for a conversion of all of it that writes the message "01" in turn, one character
// a pixel, and lets events through after every pixel. Its first pixel is not red, so a page that
// read the red outline drawn over the picture would show it.
void loadCat(Run &run, const QString &path = "cat.bmp")
{
    QDir().mkpath(QFileInfo(path).path());
    QVERIFY(QFile::exists(path) || QFile::copy(TEST_DATA_DIR "/cat.bmp", path));
    run.fake.nextFileName = path;
    run.w.loadpic_Click();
    run.w.renderareapoint->setText("0 0 3 2");
    run.w.totpixels->setText("6");
    run.w.randommessage->setChecked(false);
    run.w.doublechrperpix->setChecked(false);
    run.w.setScanEventInterval(std::chrono::nanoseconds(0));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One tick of the status timer with the given lines done and seconds counted, delivered as the
// timer delivers it; by default the count leaves the signed 16-bit range.
void tick(ui::quennet &window, const QString &linesDone = "3", int counted = 32767)
{
    window.convertlinenr->setText(linesDone);
    window.rendertime = int16_t(counted);
    QMetaObject::invokeMethod(window.statustimer, "timeout");
}

// The report file split at CR LF; a bare LF stays inside its line. No line of a block is empty.
QStringList reportLines()
{
    return QString::fromUtf8(readAll("Errormsg.txt")).split("\r\n", Qt::SkipEmptyParts);
}

void verifyEnded(const FakePlatform &fake)
{
    // Nothing but the confirmation came before it.
    QCOMPARE(fake.said.join(" / ").remove("Are you sure? [Convert, Cancel] / "),
             "Error: Send file errormsg.txt to Corvalis... [quennetproject]");
    QCOMPARE(fake.exitCode, 1);
}

// An 8 KiB tmpfs of its own, unmounted on every way out of the test.
struct SmallDisk
{
    QByteArray path;
    int error = QDir().mkpath(path) && ::mount("tmpfs", path, "tmpfs", 0, "size=8k") == 0 ? 0 : errno;
    ~SmallDisk()
    {
        if (!error) ::umount2(path, MNT_DETACH);
    }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startAndRefusals();
    void conversions();
    void loadCancelSuccessDamaged();
    void unusualPictures_data() { addUnusualPictureRows(); }
    void unusualPictures();
    void statusTick_data();
    void statusTick();
    void failureReports_data();
    void failureReports();
    void reportAcrossRuns();
    void endurance();
    void outputFailures_data();
    void outputFailures();
    void closingMidConversion();
};

// The title, random characters and a tick a second from the start, then Cancel on the confirmation
// and each refusal in the order of the checks: the characters before the picture, then an empty
// message, then no picture.
void TestMainWindow::startAndRefusals()
{
    Run run;
    QVERIFY(run.w.windowTitle() == "Lumirune II - Orvanta" && run.w.randommessage->isChecked() &&
            run.w.statustimer->interval() == 1000);
    run.fake.answers = {platform::Answer::Cancel};
    for (const char *message : {"hello world", "hello world", "", "01"}) {
        run.w.msgtext->setText(message);
        run.w.convertb->click();
    }
    QCOMPARE(
        run.fake.said,
        QStringList({"Are you sure? [Convert, Cancel]", "Are you sure? [Convert, Cancel]",
                     QString::fromUtf8("Allowed char in text box: QWERTYUIOPÅASDFGHJKLÖÄZXCVBNM,.-_'1234567890+*/!?@"
                                       "#$%&\\() [quennetproject]"),
                     "Are you sure? [Convert, Cancel]", "You have to choose a message text! [Convert, system-modal]",
                     "Are you sure? [Convert, Cancel]", "You have to load a picture! [Convert, system-modal]"}));
    QVERIFY(run.w.convertframe->isHidden() && run.w.loadpic->isEnabled());
}

// Two conversions of one picture, then the names later pages get. The first is stopped after its
// fourth pixel: the busy window, the abort tail ending the page and the scan with it. The second
// runs to the end, checked byte for byte, with the status timer counting only its own finished
// rows. While one runs, of the options only its STOP button is enabled.
void TestMainWindow::conversions()
{
    Run run;
    ui::quennet &w = run.w;
    loadCat(run);
    // The button, the frames shown, the options enabled and the timer, then the progress display.
    const auto shown = [&] {
        QStringList seen{w.convertb->text()};
        for (const QGroupBox *frame : {w.convertframe, w.colorframe, w.textframe})
            seen.last() += frame->isVisible() ? ", " + frame->objectName() : "";
        const QList<QWidget *> options = w.optionGroup();
        seen << QString::number(std::count_if(options.begin(), options.end(), std::mem_fn(&QWidget::isEnabled)))
             << (w.statustimer->isActive() ? "counting" : "stopped");
        return (seen + QStringList{w.convertinfo3->text(), w.convertlinenr->text(), w.convertpixelnr->text(),
                                   w.convertstatus->text()})
            .join(" | ");
    };
    run.fake.onProcessEvents = [&](int call) {
        QVERIFY2(shown().startsWith("STOP, convertframe | 1 | counting |"), qPrintable(shown()));
        QMetaObject::invokeMethod(w.statustimer, "timeout"); // the first row ends at the third pixel
        if (call == 4) w.convertb->click();
    };
    w.show();
    w.convertb_Click();
    QCOMPARE(run.fake.said.value(1), "Convert aborted. [quennetproject, system-modal]");
    QCOMPARE(readAll("cat1.htm"),
             kHead +
                 "<pre><font color=#0000FF>01</font><font color=#00FF00>0</font><br><font color=#00FF00>1</pre><br>" +
                 kTail);
    QCOMPARE(shown(), "Convert, colorframe, textframe | 16 | stopped | 2 sec elasped, 2 sec left. | 1 | 3 | 50%");

    // Without reloading, the next page is named from the last one.
    w.convertb_Click();
    QCOMPARE(run.fake.said.value(3), "Convert Complete [Convert, system-modal]");
    QCOMPARE(readAll("cat11.htm"), kHead +
                                       "<pre><font color=#0000FF>01</font><font color=#00FF00>0</font><br>"
                                       "<font color=#00FF00>10</font><font color=#FFFFFF>1</font><br></pre>" +
                                       kTail);
    QCOMPARE(shown(), "Convert, colorframe, textframe | 16 | stopped | 3 sec elasped, 3 sec left. | 2 | 6 | 100%");

    // Reloaded with every name up to cat100.htm taken, there is none.
    for (int n = 2; n <= 100; ++n)
        QVERIFY(QFile(QString("cat%1.htm").arg(n)).open(QIODevice::WriteOnly));
    loadCat(run);
    w.convertb_Click();
    QCOMPARE(run.fake.said.constLast(), "Error: Cant find a plase to save file. [quennetproject]");
}

void TestMainWindow::loadCancelSuccessDamaged()
{
    Run run;
    ui::quennet &w = run.w;
    w.loadpic_Click(); // Cancel: nothing is chosen
    QCOMPARE(run.fake.dialog,
             (QStringList{QCoreApplication::applicationDirPath(), "*.bmp (*.BMP)", "*.jpg (*.JPG)", "*.gif (*.GIF)"}));
    loadCat(run);
    w.loadpic_Click(); // Cancel after a load changes nothing either
    run.fake.nextFileName = TEST_DATA_DIR "/damaged.jpg";
    w.loadpic_Click();
    QCOMPARE(run.fake.said, QStringList{"Error: The picture file you selected maybe damaged. [quennetproject]"});
    // The box keeps the picture that is shown, so Convert writes no page for the damaged file.
    QCOMPARE(w.convertfilename->text(), "cat.bmp");
    QCOMPARE(w.mainpic->picture().size(), QSize(3, 2));
    // An animation shows its first frame (red, then blue).
    run.fake.nextFileName = TEST_DATA_DIR "/two-frames.gif";
    w.loadpic_Click();
    QCOMPARE(w.mainpic->picture().pixel(0, 0), qRgb(255, 0, 0));
    // A bitmap header promising 30000 x 30000 pixels, more than may be allocated, fails as damaged.
    QFile huge("huge.bmp");
    QVERIFY(huge.open(QIODevice::WriteOnly));
    QDataStream header(&huge);
    header.setByteOrder(QDataStream::LittleEndian);
    header << quint16(0x4D42) << quint32(54) << quint32(0) << quint32(54) << quint32(40) << qint32(30000)
           << qint32(30000) << quint16(1) << quint16(24) << quint32(0) << quint32(0) << quint64(0) << quint64(0);
    huge.close();
    run.fake.nextFileName = "huge.bmp";
    w.loadpic_Click();
    QCOMPARE(run.fake.said.size(), 2);
    QCOMPARE(w.convertfilename->text(), TEST_DATA_DIR "/two-frames.gif");
    QVERIFY(!run.fake.quitCalled);
}

// Each picture loaded after cat.bmp, then converted with the default area: the damaged-picture
// message with cat.bmp still loaded, or the picture cut to the box (as if read whole and cut) and a
// page in its colours, with transparent parts in the box's background.
void TestMainWindow::unusualPictures()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    Run run;
    ui::quennet &w = run.w;
    QPalette palette = w.mainpic->palette();
    palette.setColor(QPalette::Base, QColor(0x12, 0x34, 0x56)); // the box's background, unlike any picture
    w.mainpic->setPalette(palette);
    QVERIFY(QFile::copy(TEST_DATA_DIR "/cat.bmp", "cat.bmp") && QFile::copy(TEST_DATA_DIR "/pictures/" + file, file));
    for (const QString &name : {QString("cat.bmp"), file}) {
        run.fake.nextFileName = name;
        w.loadpic_Click();
    }
    if (expected.startsWith("damaged")) {
        QCOMPARE(run.fake.said, QStringList{"Error: The picture file you selected maybe damaged. [quennetproject]"});
        QCOMPARE(w.convertfilename->text(), "cat.bmp");
        QCOMPARE(w.mainpic->picture(), QImage("cat.bmp"));
        return;
    }
    const QImage whole(file);
    QCOMPARE(w.mainpic->picture(), whole.copy(whole.rect() & QRect(0, 0, 300, 300)));
    w.convertb_Click();
    QCOMPARE(run.fake.said,
             (QStringList{"Are you sure? [Convert, Cancel]", "Convert Complete [Convert, system-modal]"}));
    QCOMPARE(wrongColors(readAll(w.convertfilename->text()), file, expected, "123456"), QString());
}

// One tick with the lines done so far: the estimate shown, or the failure report (its step, number
// and the seconds counted).
void TestMainWindow::statusTick_data()
{
    QTest::addColumn<int>("totallines");
    QTest::addColumn<QString>("linesDone");
    QTest::addColumn<int>("counted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("300 lines, 4 done") << 300 << "4" << 11 << "12 sec elasped, 888 sec left.";
    // 10 / 7 * 93 = 132.86: the fraction is dropped, not rounded.
    QTest::newRow("100 lines, 7 done") << 100 << "7" << 9 << "10 sec elasped, 132 sec left.";
    QTest::newRow("one line to go") << 50 << "49" << 97 << "98 sec elasped, 2 sec left.";
    QTest::newRow("large estimate in whole digits") << 300 << "1" << 32766 << "32767 sec elasped, 9797333 sec left.";
    QTest::newRow("no line finished: nothing counted") << 300 << "0" << 32767 << "0 sec elasped, 0 sec left.";
    QTest::newRow("count passes 32767") << 300 << "5" << 32767 << "Progress: Stat timer ErrN: 6 RendT: 32767";
    QTest::newRow("line caption not a number") << 300 << "five" << 7 << "Progress: Stat timer ErrN: 13 RendT: 8";
    QTest::newRow("zero written another way") << 300 << "00" << 7 << "Progress: Stat timer ErrN: 11 RendT: 8";
}

void TestMainWindow::statusTick()
{
    QFETCH(int, totallines);
    QFETCH(QString, linesDone);
    QFETCH(int, counted);
    QFETCH(QString, shown);
    Run run;
    run.w.totallines = int16_t(totallines);
    tick(run.w, linesDone, counted);
    const QStringList lines = reportLines();
    QCOMPARE(lines.size() < 13 ? run.w.convertinfo3->text() : lines[1] + " " + lines[3] + " " + lines[6], shown);
    QCOMPARE(run.fake.quitCalled, !lines.isEmpty());
}

// Failures met while converting reach the report with the step that met them, their number, and
// the conversion's state at that moment.
void TestMainWindow::failureReports_data()
{
    QTest::addColumn<QString>("report");
    // The folder cannot be written: root passes permission bits, so it is removed.
    QTest::newRow("picture folder gone before Convert")
        << "Progress: Convert Button ErrN: 75 RendT: 0 TotL: 2 ConvL: 0 ConvRGB: 0 TotHex: ";
    QTest::newRow("picture folder gone during the scan")
        << "Progress: Loopconvert ErrN: 75 RendT: 0 TotL: 2 ConvL: 1 ConvRGB: 0025500 TotHex: 00FF00";
    // "16777215 > red" hands the last pixel, white, to the encoding as a colour that is no number.
    QTest::newRow("colour encoding")
        << "Progress: Convert RGB ErrN: 13 RendT: 0 TotL: 2 ConvL: 1 ConvRGB: 0025500 TotHex: 00FF00";
    QTest::newRow("tick during the scan")
        << "Progress: Stat timer ErrN: 6 RendT: 32767 TotL: 2 ConvL: 0 ConvRGB: 0000255 TotHex: 0000FF";
}

void TestMainWindow::failureReports()
{
    QFETCH(QString, report);
    const QString row = QTest::currentDataTag();
    Run run;
    ui::quennet &w = run.w;
    // Not plain ASCII, to show that the report spells file names as the file system does.
    const QString folder = QDir::current().filePath("Bilder ä");
    loadCat(run, folder + "/cat.bmp");
    if (row == "picture folder gone before Convert") QVERIFY(QDir(folder).removeRecursively());
    if (row == "colour encoding") w.ignorelist->addItem("16777215 > red");
    qint64 pageAtTick = -1;
    run.fake.onProcessEvents = [&](int call) {
        if (row == "picture folder gone during the scan" && call == 4) QDir(folder).removeRecursively();
        if (row != "tick during the scan") return;
        QCOMPARE(call, 1); // the scan goes no further
        pageAtTick = QFileInfo(w.convertfilename->text()).size();
        tick(w);
    };
    w.convertb_Click();
    const QStringList lines = reportLines();
    QCOMPARE(lines.size(), 13);
    QCOMPARE(QStringList({lines[1], lines[3]}).join(' ') + " " + lines.mid(6, 5).join(' '), report);
    if (row.startsWith("picture folder")) QVERIFY2(lines[2].contains("/Bilder ä/"), qPrintable(lines[2]));
    // The page stays as it was at the failing tick, without a tail.
    if (row == "tick during the scan") QCOMPARE(QFileInfo(w.convertfilename->text()).size(), pageAtTick);
    verifyEnded(run.fake);
}

// Blocks from several runs, each appended with its start-up values where no conversion has run.
// In the first, a file name too short to number fails the Convert command before any counter moves.
void TestMainWindow::reportAcrossRuns()
{
    Run first;
    QVERIFY(QFile("x").open(QIODevice::WriteOnly));
    first.w.convertfilename->setText("x");
    first.w.convertb_Click();
    QCOMPARE(readAll("Errormsg.txt"), QByteArray("----- 14.03.2024 09:26:53 -----\r\n"
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
    verifyEnded(first.fake);
    FakePlatform fake;
    fake.dateTime = "2.1.2024 11:00:00";
    ui::quennet second(fake);
    tick(second);
    verifyEnded(fake);
    const QStringList lines = reportLines();
    QCOMPARE(lines.size(), 2 * 13);
    QCOMPARE(lines[13], "----- 2.1.2024 11:00:00 -----");
    // A folder in the report's place: not even root can append to it, yet the message shows and the
    // program ends.
    QVERIFY(QFile::remove("Errormsg.txt") && QDir().mkdir("Errormsg.txt"));
    FakePlatform third;
    ui::quennet unwritable(third);
    tick(unwritable);
    verifyEnded(third);
}

// 200 conversions in one window, mixing completion, STOP, the ignore list and render areas, each
// leaving a whole page, and the heap no bigger at the end than once Qt's caches are warm. (Under
// AddressSanitizer mallinfo2 reads zero; LeakSanitizer watches for leaks there instead.)
void TestMainWindow::endurance()
{
    Run run;
    ui::quennet &w = run.w;
    QImage picture(300, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x)
            picture.setPixel(x, y, qRgb(x % 7 * 40, y % 5 * 60, (x / 30 + y / 30) % 2 * 255));
    QVERIFY(picture.save("big.bmp"));
    run.fake.nextFileName = "big.bmp";
    w.loadpic_Click();
    std::size_t warmHeap = 0;
    for (int i = 0; i < 200; ++i) {
        const bool stop = i % 3 == 1;
        w.renderareapoint->setText(i % 2 ? "10 20 110 70" : "0 0 300 300");
        w.totpixels->setText(i % 2 ? "5000" : "90000");
        w.ignorelist->clear();
        if (i % 4 == 2) w.ignorelist->addItem("16777215 > 255");
        const int before = run.fake.processEventsCalls;
        run.fake.onProcessEvents = [&](int call) {
            if (stop && call == before + 1) w.convertb->click();
        };
        w.convertb_Click();
        QVERIFY(run.fake.said.takeLast().startsWith(stop ? "Convert aborted." : "Convert Complete"));
        run.fake.said.clear(); // the record would grow, not the window
        const QString page = w.convertfilename->text();
        QVERIFY2(readAll(page).endsWith(kTail), qPrintable(page));
        QVERIFY(QFile::remove(page));
        if (i == 19) warmHeap = mallinfo2().uordblks;
    }
    QVERIFY(!run.fake.quitCalled && w.convertb->isEnabled());
    const std::size_t heap = mallinfo2().uordblks;
    QVERIFY2(heap <= warmHeap + 16 * 1024, qPrintable(QString("heap %1 -> %2 bytes").arg(warmHeap).arg(heap)));
}

void TestMainWindow::outputFailures_data()
{
    QTest::addColumn<QString>("reason");
    QTest::newRow("disk full") << "No space left on device";
    QTest::newRow("disk remounted read-only") << "Read-only file system";
    QTest::newRow("folder moved away") << "No such file or directory";
}

// Output failures in the middle of a conversion on a disk of its own: each is reported and ends the
// program, and the page keeps every piece written before the failure, without a cut piece.
void TestMainWindow::outputFailures()
{
    QFETCH(QString, reason);
    const QString row = QTest::currentDataTag();
    Run run;
    SmallDisk disk{QDir::current().filePath("disk").toLocal8Bit()};
    if (disk.error) QSKIP(qPrintable("a tmpfs of 8 KiB cannot be mounted here: " + QString(strerror(disk.error))));
    loadCat(run, "disk/pictures/cat.bmp");
    run.w.renderareapoint->setText("0 0 300 10");
    run.w.totpixels->setText("3000");
    run.w.msgtext->setText("&"); // five bytes a character: the disk fills inside a piece
    QByteArray atEvents;         // the page whenever the scan lets events through
    run.fake.onProcessEvents = [&](int call) {
        atEvents = readAll(run.w.convertfilename->text());
        if (call != 400) return; // on the second line
        if (row == "disk remounted read-only") QCOMPARE(::mount("", disk.path, "", MS_REMOUNT | MS_RDONLY, ""), 0);
        if (row == "folder moved away") QVERIFY(QDir().rename("disk/pictures", "disk/moved"));
    };
    run.w.convertb_Click();
    const QStringList lines = reportLines();
    QCOMPARE(lines.value(1) + ", " + lines.value(3), "Progress: Loopconvert, ErrN: 75");
    QVERIFY2(lines.value(2).endsWith(reason) && lines.value(2).contains("disk/pictures/cat1.htm"),
             qPrintable(lines.value(2)));
    verifyEnded(run.fake);
    QVERIFY(atEvents.size() > 1700); // past the first line
    QCOMPARE(readAll(QString(row == "folder moved away" ? "disk/moved" : "disk/pictures") + "/cat1.htm"), atEvents);
}

// Closing the window ends the program at once; the page on disk is complete up to the last pixel
// scanned, without a tail or a cut piece.
void TestMainWindow::closingMidConversion()
{
    Run run;
    loadCat(run);
    QByteArray atQuit;
    run.fake.onQuit = [&] { atQuit = readAll("cat1.htm"); };
    run.fake.onProcessEvents = [&](int call) {
        if (call == 4) run.w.close();
    };
    run.w.show();
    run.w.convertb_Click();
    QCOMPARE(atQuit, kHead + "<pre><font color=#0000FF>01</font><font color=#00FF00>0</font><br><font color=#00FF00>1");
    QCOMPARE(run.fake.exitCode, 0);
    QCOMPARE(readAll("cat1.htm"), atQuit);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
