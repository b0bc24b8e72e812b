// SPDX-License-Identifier: MIT
// The main window driven through its named controls on a fake platform: Convert, Load picture, the
// status timer, and the failure report with the end of the program.
#include "mainwindow/convertframe.h"
#include "mainwindow/quennet.h"
#include "picture/picturebox.h"
#include "picture/pictureframe.h"
#include "support/fakeplatform.h"
#include "support/files.h"
#include "support/table.h"
#include "support/unusualpictures.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <fcntl.h>
#include <malloc.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kHead = "<html><head><title>Orvanta @ Lumirune</title></head><body bgcolor=#000000><font size=1>\r\n";
const QByteArray kTail = "<font color=#FFFFFF>Orvanta @ Lumirune</font></font></body></html>\r\n";

ui::PictureFrame *picture(const ui::quennet &window)
{
    return window.findChild<ui::PictureFrame *>();
}

ui::ConvertFrame *convert(const ui::quennet &window)
{
    return window.findChild<ui::ConvertFrame *>();
}

// One window on a fake platform, run in a fresh current directory holding cat.bmp so that
// pictures, pages and the report file land there.
struct Run
{
    QString previous = QDir::currentPath();
    QTemporaryDir folder;
    bool entered = QDir::setCurrent(folder.path()) && QFile::copy(TEST_DATA_DIR "/cat.bmp", "cat.bmp");
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
    QVERIFY(QFile::exists(path) || QFile::copy("cat.bmp", path));
    run.fake.nextFileName = path;
    picture(run.w)->loadpic_Click();
    control<QLabel>(run.w, "renderareapoint")->setText("0 0 3 2");
    control<QLabel>(run.w, "totpixels")->setText("6");
    control<QCheckBox>(run.w, "randommessage")->setChecked(false);
    control<QCheckBox>(run.w, "doublechrperpix")->setChecked(false);
    run.w.setScanEventInterval(std::chrono::nanoseconds(0));
}

// One tick of the status timer with the given lines done and seconds counted, delivered as the
// timer delivers it; by default the count leaves the signed 16-bit range.
void tick(ui::quennet &window, const QString &linesDone = "3", int counted = 32767)
{
    control<QLabel>(window, "convertlinenr")->setText(linesDone);
    convert(window)->rendertime = int16_t(counted);
    QMetaObject::invokeMethod(control<QTimer>(window, "statustimer"), "timeout");
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

// The names of the watched controls in the order they are enabled or disabled.
struct EnabledChanges : QObject
{
    QStringList seen;
    bool eventFilter(QObject *control, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange) seen << control->objectName();
        return false;
    }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    // The title, random characters and a tick a second from the start, then Cancel on the confirmation
    // and each refusal in the order of the checks: the characters before the picture, then an empty
    // message, then no picture.
    void startAndRefusals()
    {
        Run run;
        QVERIFY(run.w.windowTitle() == "Lumirune II - Orvanta" && !run.w.windowIcon().pixmap(48).isNull() &&
                control<QCheckBox>(run.w, "randommessage")->isChecked() &&
                control<QTimer>(run.w, "statustimer")->interval() == 1000);
        run.fake.answers = {platform::Answer::Cancel};
        for (const char *message : {"hello world", "hello world", "", "01"}) {
            control<QLineEdit>(run.w, "msgtext")->setText(message);
            control<QPushButton>(run.w, "convertb")->click();
        }
        QCOMPARE(run.fake.said,
                 QStringList(
                     {"Are you sure? [Convert, Cancel]", "Are you sure? [Convert, Cancel]",
                      QString::fromUtf8("Allowed char in text box: QWERTYUIOPÅASDFGHJKLÖÄZXCVBNM,.-_'1234567890+*/!?@"
                                        "#$%&\\() [quennetproject]"),
                      "Are you sure? [Convert, Cancel]", "You have to choose a message text! [Convert, system-modal]",
                      "Are you sure? [Convert, Cancel]", "You have to load a picture! [Convert, system-modal]"}));
        QVERIFY(control<QGroupBox>(run.w, "convertframe")->isHidden() &&
                control<QPushButton>(run.w, "loadpic")->isEnabled());
        // The boxes of the cells, unchecked, below Font size and after it in tab order.
        QWidget *fill = control(run.w, "fillcells"), *square = control(run.w, "squarepixels");
        QCOMPARE(fill->mapTo(&run.w, QPoint()), QPoint(24, 402));
        QCOMPARE(square->mapTo(&run.w, QPoint()), QPoint(24, 420));
        const auto nextTab = [](QWidget *from) {
            QWidget *next = from->nextInFocusChain();
            while (!(next->focusPolicy() & Qt::TabFocus) || from->isAncestorOf(next))
                next = next->nextInFocusChain();
            return next;
        };
        QVERIFY(nextTab(control(run.w, "fontsizeC")) == fill && nextTab(fill) == square &&
                !control<QCheckBox>(run.w, "fillcells")->isChecked());
    }

    // Two conversions of one picture, then the names later pages get. The first is stopped after its
    // fourth pixel: the busy window, the abort tail ending the page and the scan with it. The second
    // runs to the end, checked byte for byte, with the status timer counting only its own finished
    // rows. While one runs, of the options only its STOP button is enabled.
    void conversions()
    {
        Run run;
        ui::quennet &w = run.w;
        loadCat(run);
        // The button, the frames shown, the options enabled and the timer, then the progress display.
        const auto shown = [&] {
            QStringList seen{control<QPushButton>(w, "convertb")->text()};
            for (const QGroupBox *frame : {control<QGroupBox>(w, "convertframe"), control<QGroupBox>(w, "colorframe"),
                                           control<QGroupBox>(w, "textframe")})
                seen.last() += frame->isVisible() ? ", " + frame->objectName() : "";
            const QList<QWidget *> options = w.optionGroup();
            seen << QString::number(std::count_if(options.begin(), options.end(), std::mem_fn(&QWidget::isEnabled)))
                 << (control<QTimer>(w, "statustimer")->isActive() ? "counting" : "stopped");
            return (seen + QStringList{control<QLabel>(w, "convertinfo3")->text(),
                                       control<QLabel>(w, "convertlinenr")->text(),
                                       control<QLabel>(w, "convertpixelnr")->text(),
                                       control<QLabel>(w, "convertstatus")->text()})
                .join(" | ");
        };
        run.fake.onProcessEvents = [&](int call) {
            QVERIFY2(shown().startsWith("STOP, convertframe | 1 | counting |"), qPrintable(shown()));
            QMetaObject::invokeMethod(control<QTimer>(w, "statustimer"),
                                      "timeout"); // the first row ends at the third pixel
            if (call == 4) control<QPushButton>(w, "convertb")->click();
        };
        // The option group is locked and unlocked in one fixed order, the Convert button left alone.
        QStringList group = QString("renderareapoint doublechrperpix Insertpre msgtext quickmessage randommessage "
                                    "fontsizeC colorquality blackbackground whitebackground ignorelist addignorelist "
                                    "removeignorelist loadpic convertb setrender")
                                .split(' ');
        EnabledChanges changes;
        for (const QString &name : group)
            control(w, qPrintable(name))->installEventFilter(&changes);
        w.show();
        convert(w)->convertb_Click();
        group.removeOne("convertb");
        QCOMPARE(changes.seen, group + group);
        QCOMPARE(run.fake.said.value(1), "Convert aborted. [quennetproject, system-modal]");
        QCOMPARE(
            readAll("cat1.htm"),
            kHead +
                "<pre><font color=#0000FF>01</font><font color=#00FF00>0</font><br><font color=#00FF00>1</pre><br>" +
                kTail);
        QCOMPARE(shown(), "Convert, colorframe, textframe | 16 | stopped | 2 sec elasped, 2 sec left. | 1 | 3 | 50%");

        // Without reloading, the next page is named from the last one.
        convert(w)->convertb_Click();
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
        convert(w)->convertb_Click();
        QCOMPARE(run.fake.said.constLast(), "Error: Cant find a plase to save file. [quennetproject]");
    }

    // Only a regular file is read as a picture, opened by its own name: anything else is refused as
    // damaged, without blocking. How each kind of file reads is the decoder's test's to show; the window
    // takes a damaged picture and one showing the box's background beside and through it.
    void unusualPictures_data()
    {
        addUnusualPictureRows({"text.bmp", "transparent.png"});
        for (const char *name : {"fifo.bmp", "folder.bmp", "gone.jpg"}) // gone.jpg.png exists
            QTest::newRow(name) << QString(name) << QString("damaged");
    }

    // Each picture loaded after cat.bmp and a Cancel, then converted with the default area: the
    // damaged-picture message with cat.bmp still loaded, or a page in its colours, with transparent
    // parts white as the converter makes them (the box's pixels are the decoder test's).
    void unusualPictures()
    {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        Run run;
        ui::quennet &w = run.w;
        // A dark desktop palette does not change what shows behind the picture: the converter's white.
        QPalette palette = control<ui::PictureBox>(w, "mainpic")->palette();
        palette.setColor(QPalette::Base, QColor(0x12, 0x34, 0x56));
        control<ui::PictureBox>(w, "mainpic")->setPalette(palette);
        QVERIFY(QFile::copy("cat.bmp", "gone.jpg.png") && ::mkfifo("fifo.bmp", 0644) == 0 &&
                QDir().mkdir("folder.bmp"));
        QVERIFY(QFileInfo::exists(file) || file == "gone.jpg" || QFile::copy(TEST_DATA_DIR "/pictures/" + file, file));
        for (const QString &name : {QString("cat.bmp"), QString(), file}) { // an empty name is Cancel
            run.fake.nextFileName = name;
            picture(w)->loadpic_Click();
        }
        // In the folder of the picture loaded before; the designed entries first, then every kind of
        // file the readers take, Qt's (TIFF) included.
        QCOMPARE(run.fake.dialog.mid(0, 4),
                 (QStringList{QDir::currentPath(), "*.bmp (*.BMP)", "*.jpg (*.JPG)", "*.gif (*.GIF)"}));
        QVERIFY2(run.fake.dialog.size() == 5 &&
                     run.fake.dialog[4].contains(QRegularExpression("^All pictures \\(.* \\*\\.tif .*\\)$")),
                 qPrintable(run.fake.dialog.join(" | ")));
        if (expected.startsWith("damaged")) {
            QCOMPARE(run.fake.said,
                     QStringList{"Error: The picture file you selected maybe damaged. [quennetproject]"});
            QCOMPARE(control<QLineEdit>(w, "convertfilename")->text(), "cat.bmp");
            QVERIFY(control<ui::PictureBox>(w, "mainpic")->picture() == QImage("cat.bmp") && run.fake.exitCode == -1);
            return;
        }
        convert(w)->convertb_Click();
        QCOMPARE(run.fake.said,
                 (QStringList{"Are you sure? [Convert, Cancel]", "Convert Complete [Convert, system-modal]"}));
        QCOMPARE(wrongColors(readAll(control<QLineEdit>(w, "convertfilename")->text()), file, expected, "FFFFFF"),
                 QString());
    }

    // What is dropped on the window, offered for copying unless said otherwise: one local file loads
    // as "Load picture" loads it; anything else, or anything while the options are locked, is refused
    // before it is dropped. A picture named on the command line takes the same path, with no dialog.
    void dropPicture_data()
    {
        // urls: file names in the current folder, or whole addresses
        // state: "idle", "selecting", "move only", "text", "named"
        // loads: the file name box after the drop, or "refused"
        const auto row = columns<QStringList, QString, QString>({"urls", "state", "loads"});
        row("one picture", {"cat.bmp"}, "idle", "cat.bmp");
        row("named at start", {"cat.bmp"}, "named", "cat.bmp");
        row("a damaged picture", {"text.bmp"}, "idle", "");
        row("two pictures", {"cat.bmp", "cat.bmp"}, "idle", "refused");
        row("a folder", {"folder"}, "idle", "refused");
        row("a remote picture", {"https://example.org/cat.bmp"}, "idle", "refused");
        row("a path as text", {"cat.bmp"}, "text", "refused");
        row("offered for moving only", {"cat.bmp"}, "move only", "refused");
        row("while the options are locked", {"cat.bmp"}, "selecting", "refused");
    }

    void dropPicture()
    {
        QFETCH(QStringList, urls);
        QFETCH(QString, state);
        QFETCH(QString, loads);
        Run run;
        ui::quennet &w = run.w;
        QVERIFY(QFile::copy(TEST_DATA_DIR "/pictures/text.bmp", "text.bmp") && QDir().mkdir("folder"));
        QMimeData mime;
        QList<QUrl> addresses;
        for (const QString &url : urls)
            addresses << (url.contains(':') ? QUrl(url) : QUrl::fromLocalFile(QFileInfo(url).absoluteFilePath()));
        if (state == "text")
            mime.setText(addresses.constFirst().toLocalFile());
        else
            mime.setUrls(addresses);
        if (state == "selecting") picture(w)->setrender_Click();
        const Qt::DropActions offered = state == "move only" ? Qt::MoveAction : Qt::CopyAction | Qt::MoveAction;
        const QPoint at(100, 100);
        QDragEnterEvent enter(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
        if (state == "named") {
            w.loadPicture(QFileInfo(urls[0]).absoluteFilePath());
        } else {
            QCoreApplication::sendEvent(&w, &enter);
            QCOMPARE(enter.isAccepted(), loads != "refused");
            if (!enter.isAccepted()) {
                QVERIFY(run.fake.said.isEmpty() && control<QLineEdit>(w, "convertfilename")->text().isEmpty());
                return;
            }
            QCoreApplication::sendEvent(&w, &drop);
            QVERIFY(enter.dropAction() == Qt::CopyAction && drop.isAccepted() && drop.dropAction() == Qt::CopyAction);
        }
        QVERIFY(run.fake.dialog.isEmpty() && run.fake.exitCode == -1 &&
                control<QPushButton>(w, "loadpic")->isEnabled());
        const QString path = loads.isEmpty() ? QString() : QFileInfo(loads).absoluteFilePath();
        QCOMPARE(control<QLineEdit>(w, "convertfilename")->text(), path);
        QCOMPARE(control<ui::PictureBox>(w, "mainpic")->picture(), loads.isEmpty() ? QImage() : QImage(path));
        QCOMPARE(run.fake.said, loads.isEmpty() ? QStringList{"Error: The picture file you selected maybe damaged. "
                                                              "[quennetproject]"}
                                                : QStringList());
    }

    // A 640 x 480 picture of gradients, its left part half transparent: unchecked, cut to its top
    // left 300 x 300 as designed; checked, shrunk to 300 x 225, which becomes the render area; each
    // page the converter's page with the options of the boxes checked, byte for byte. Toggling reads
    // the file again; a picture that fits is shown as it is, and all of it is the area.
    void fitLargePicture_data()
    {
        // boxes: clicked after loading; arguments: the converter's for the same page
        const auto row = columns<QStringList, QStringList>({"boxes", "arguments"});
        row("cut to the box", {}, {});
        row("fitted", {"fitpicture"}, {"--fit"});
        row("fitted, filled, square", {"fitpicture", "fillcells", "squarepixels"}, {"--fit", "--fill", "--square"});
        row("square, one character", {"squarepixels", "doublechrperpix"}, {"--square", "--single"});
    }

    void fitLargePicture()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, arguments);
        Run run;
        ui::quennet &w = run.w;
        auto *fit = control<QCheckBox>(w, "fitpicture");
        QVERIFY(!fit->isChecked() && fit->text() == "Fit picture to box");
        QImage gradients(640, 480, QImage::Format_ARGB32);
        for (int y = 0; y < gradients.height(); ++y)
            for (int x = 0; x < gradients.width(); ++x)
                gradients.setPixel(x, y, qRgba(x * 255 / 639, y * 255 / 479, (x ^ y) & 255, x < 100 ? 128 : 255));
        QVERIFY(gradients.save("gradients.png"));
        run.fake.nextFileName = "gradients.png";
        picture(w)->loadpic_Click();
        const auto shown = [&] { return control<ui::PictureBox>(w, "mainpic")->picture(); };
        const auto area = [&] { return control<QLabel>(w, "renderareapoint")->text(); };
        control<QCheckBox>(w, "randommessage")->setChecked(false);
        for (const QString &box : boxes)
            control<QCheckBox>(w, qPrintable(box))->click();
        QCOMPARE(area(), fit->isChecked() ? "0 0 300 225" : "0 0 300 300");
        QCOMPARE(shown().size(), fit->isChecked() ? QSize(300, 225) : QSize(300, 300));
        convert(w)->convertb_Click();
        QCOMPARE(QProcess::execute(CONVERT_EXE,
                                   arguments + QStringList{"--sequential", "-o", "converter.htm", "gradients.png"}),
                 0);
        QCOMPARE(readAll("gradients1.htm"), readAll("converter.htm"));
        if (!fit->isChecked()) return;

        // Read again from the file, whatever it holds now; unchecked, the area stays as it is.
        const QImage small = gradients.copy(200, 0, 200, 100).convertToFormat(QImage::Format_RGB32);
        QVERIFY(QFile::remove("gradients.png") && small.save("gradients.png", "PNG"));
        fit->click();
        QCOMPARE(shown().convertToFormat(QImage::Format_RGB32), small);
        QCOMPARE(area(), "0 0 300 225");
        fit->click();
        QCOMPARE(shown().convertToFormat(QImage::Format_RGB32), small);
        QCOMPARE(area(), "0 0 200 100");
        QCOMPARE(control<QLineEdit>(w, "convertfilename")->text(), "gradients.png");
    }

    // "Open page" waits for the first page of this run and is locked while the options are; it opens
    // the last page written, or says the page is gone or that nothing could show it.
    void openPage()
    {
        Run run;
        ui::quennet &w = run.w;
        auto *open = control<QPushButton>(w, "openpage");
        QVERIFY(!open->isEnabled());
        loadCat(run);
        bool enabledWhileConverting = true;
        run.fake.onProcessEvents = [&](int) { enabledWhileConverting = open->isEnabled(); };
        convert(w)->convertb_Click();
        QVERIFY(!enabledWhileConverting && open->isEnabled());
        convert(w)->convertb_Click();
        open->click();
        QCOMPARE(run.fake.opened, QList<QUrl>{QUrl::fromLocalFile(QFileInfo("cat11.htm").absoluteFilePath())});

        // Locked with the options, as are "Fit picture to box" and the boxes of the cells.
        picture(w)->setrender_Click();
        for (const char *name : {"fitpicture", "fillcells", "squarepixels"})
            QVERIFY2(!open->isEnabled() && !control(w, name)->isEnabled(), name);
        picture(w)->cancelRenderSelection();
        for (const char *name : {"fitpicture", "fillcells", "squarepixels"})
            QVERIFY2(open->isEnabled() && control(w, name)->isEnabled(), name);

        run.fake.said.clear();
        run.fake.openSucceeds = false;
        open->click();
        QVERIFY(QFile::remove("cat11.htm"));
        open->click();
        const QString page = QDir::toNativeSeparators(QFileInfo("cat11.htm").absoluteFilePath());
        QCOMPARE(run.fake.said, (QStringList{"No program was found to show the page " + page + ". [quennetproject]",
                                             "The page " + page + " is gone. [quennetproject]"}));
        QCOMPARE(run.fake.opened.size(), 2);
    }

    // One tick with the lines done so far of 300: the estimate shown, or the failure report (its step,
    // number and the seconds counted).
    void statusTick_data()
    {
        const auto row = columns<QString, int, QString>({"linesDone", "counted", "shown"});
        // 10 / 7 * 293 = 418.57: the fraction is dropped, not rounded.
        row("7 lines done", "7", 9, "10 sec elasped, 418 sec left.");
        row("large estimate in whole digits", "1", 32766, "32767 sec elasped, 9797333 sec left.");
        row("no line finished: nothing counted", "0", 32767, "0 sec elasped, 0 sec left.");
        row("line caption not a number", "five", 7, "Progress: Stat timer ErrN: 13 RendT: 8");
        row("zero written another way", "00", 7, "Progress: Stat timer ErrN: 11 RendT: 8");
    }

    void statusTick()
    {
        QFETCH(QString, linesDone);
        QFETCH(int, counted);
        Run run;
        convert(run.w)->totallines = 300;
        tick(run.w, linesDone, counted);
        const QStringList lines = reportLines();
        QTEST(lines.size() < 13 ? control<QLabel>(run.w, "convertinfo3")->text()
                                : lines[1] + " " + lines[3] + " " + lines[6],
              "shown");
        QCOMPARE(run.fake.exitCode, lines.isEmpty() ? -1 : 1);
    }

    // Conversions of 300 x 10 pixels of a picture in a folder whose name is not plain ASCII, cut
    // short by a failure or by closing the window. Each ends the program, and the page keeps every
    // piece written before the end, without a cut piece or a tail. A failure's report gives the step
    // that met it, its description (spelling file names as the file system does) and number, and the
    // conversion's state at that moment. Tests run as root, who passes permission bits.
    void failures_data()
    {
        // report: the step, description without the current folder, number and state
        const auto row = columns<QString>({"report"});
        // The picture is gone too, but its name is never taken for a page.
        row("picture folder gone before Convert",
            "Progress: Convert Button ErrD: Cannot create \"disk/Bilder ä/cat1.htm\": No such file or directory "
            "ErrN: 75 RendT: 0 TotL: 10 ConvL: 0 ConvRGB: 0 TotHex: ");
        // The entries, chained in list order, hand the first white pixel (the box's, beyond the picture)
        // to the encoding as a colour that is no number.
        row("colour encoding",
            "Progress: Convert RGB ErrD: Type mismatch: \"red\" is not a number ErrN: 13 RendT: 0 TotL: 10 "
            "ConvL: 0 ConvRGB: 0025500 TotHex: 00FF00");
        row("tick during the scan",
            "Progress: Stat timer ErrD: Overflow: rendertime leaves the 16-bit range ErrN: 6 RendT: 32767 "
            "TotL: 10 ConvL: 0 ConvRGB: 0000255 TotHex: 0000FF");
        // Pieces wait in the buffer while the scan runs on: the report says where the page ends. Where
        // a full disk cuts the page is the engine's to show; here, that the window reports it.
        row("disk full with pieces waiting to be written",
            "Progress: Loopconvert ErrD: Cannot write \"disk/Bilder ä/cat1.htm\": No space left on device "
            "ErrN: 75 RendT: 0 TotL: 10 ConvL: 2 ConvRGB: 255255255 TotHex: FFFFFF");
        row("folder moved away",
            "Progress: Loopconvert ErrD: Cannot open \"disk/Bilder ä/cat1.htm\": No such file or directory "
            "ErrN: 75 RendT: 0 TotL: 10 ConvL: 1 ConvRGB: 255255255 TotHex: FFFFFF");
        row("window closed", "");
    }

    void failures()
    {
        QFETCH(QString, report);
        const QString row = QTest::currentDataTag();
        Run run;
        ui::quennet &w = run.w;
        // The full disk is a tmpfs of 8 KiB of its own, unmounted on every way out of the test.
        const bool buffered = row.startsWith("disk full");
        if (buffered && !(QDir().mkpath("disk") && ::mount("tmpfs", "disk", "tmpfs", 0, "size=8k") == 0))
            QSKIP(qPrintable("a tmpfs of 8 KiB cannot be mounted here: " + QString(strerror(errno))));
        const auto unmount = qScopeGuard([buffered] {
            if (buffered) ::umount2("disk", MNT_DETACH);
        });
        const QString folder = QString::fromUtf8("disk/Bilder ä");
        loadCat(run, folder + "/cat.bmp");
        control<QLabel>(w, "renderareapoint")->setText("0 0 300 10");
        control<QLabel>(w, "totpixels")->setText("3000");
        control<QLineEdit>(w, "msgtext")->setText("&"); // five bytes a character: a full disk fills inside a piece
        if (row == "picture folder gone before Convert") QVERIFY(QDir(folder).removeRecursively());
        if (buffered) w.setScanEventInterval(std::chrono::hours(1));
        if (row == "colour encoding") control<QListWidget>(w, "ignorelist")->addItems({"16777215 > 255", "255 > red"});
        QByteArray atEvents; // the page whenever the scan lets events through
        run.fake.onProcessEvents = [&](int call) {
            atEvents = readAll(control<QLineEdit>(w, "convertfilename")->text());
            if (row == "tick during the scan") tick(w);
            if (row == "window closed" && call == 4) w.close();
            if (call != 400) return; // on the second line
            if (row == "folder moved away") QVERIFY(QDir().rename(folder, "disk/moved"));
        };
        convert(w)->convertb_Click();
        const QByteArray written = readAll((row == "folder moved away" ? "disk/moved" : folder) + "/cat1.htm");
        if (buffered) // whole pieces only, as many rows as the report says
            QVERIFY(written.endsWith("&amp;") && written.count("<br>") == 2 && written.size() > atEvents.size());
        else
            QCOMPARE(written, atEvents);
        const QStringList lines = reportLines();
        if (report.isEmpty()) { // the window closed
            QVERIFY(lines.isEmpty() && run.fake.exitCode == 0);
            return;
        }
        QCOMPARE(lines.size(), 13);
        QCOMPARE(
            (QStringList{lines[1], QString(lines[2]).remove(QDir::currentPath() + "/"), lines[3]} + lines.mid(6, 5))
                .join(' '),
            report);
        verifyEnded(run.fake);
    }

    // Blocks from several runs, each appended with its start-up values where no conversion has run.
    // In the first, a file name too short to number fails the Convert command before any counter moves.
    void reportAcrossRuns()
    {
        Run first;
        QVERIFY(QDir().mkdir("sub") && QFile("sub/x.g").open(QIODevice::WriteOnly)); // the folder's name is not cut
        control<QLineEdit>(first.w, "convertfilename")->setText("sub/x.g");
        convert(first.w)->convertb_Click();
        QCOMPARE(readAll("Errormsg.txt"),
                 QByteArray("----- 14.03.2024 09:26:53 -----\r\n"
                            "Progress: Convert Button\r\n"
                            "ErrD: Invalid file name \"sub/x.g\": shorter than four characters\r\n"
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
        // In the report's place a folder, which not even root can append to, a FIFO nobody reads,
        // which is not waited on, and links, never written through: the message shows and the program
        // ends all the same, the report on standard error, where a line end in a name forges no line.
        QVERIFY(writeFile("mine.txt", "mine") && writeFile("sub/\n.g", ""));
        const int standardError = ::dup(STDERR_FILENO), captured = ::creat("stderr.txt", 0644);
        QVERIFY(::dup2(captured, STDERR_FILENO) >= 0);
        const auto restore = qScopeGuard([=] {
            ::dup2(standardError, STDERR_FILENO);
            ::close(standardError);
            ::close(captured);
        });
        for (const QString kind : {"folder", "FIFO", "link", "dangling link"}) {
            QFile::remove("Errormsg.txt") || QDir().rmdir("Errormsg.txt");
            QVERIFY(kind == "folder" ? QDir().mkdir("Errormsg.txt")
                    : kind == "FIFO" ? ::mkfifo("Errormsg.txt", 0644) == 0
                                     : QFile::link(kind == "link" ? "mine.txt" : "planted.txt", "Errormsg.txt"));
            FakePlatform blocked;
            ui::quennet window(blocked);
            control<QLineEdit>(window, "convertfilename")->setText("sub/\n.g");
            convert(window)->convertb_Click();
            verifyEnded(blocked);
        }
        QVERIFY(readAll("mine.txt") == "mine" && !QFile::exists("planted.txt"));
        QCOMPARE(readAll("stderr.txt").count("\nErrD: Invalid file name \"sub/\\n.g\": shorter than four characters\n"),
                 4);
    }

    // 200 conversions in one window, mixing completion, STOP, the ignore list and render areas, each
    // leaving a whole page, and the heap no bigger at the end than once Qt's caches are warm. (Under
    // AddressSanitizer mallinfo2 reads zero; LeakSanitizer watches for leaks there instead.)
    void endurance()
    {
        Run run;
        ui::quennet &w = run.w;
        QVERIFY(QFile::copy(TEST_DATA_DIR "/pictures/larger.png", "big.png"));
        run.fake.nextFileName = "big.png";
        picture(w)->loadpic_Click();
        std::size_t warmHeap = 0;
        bool stop = false;
        run.fake.onProcessEvents = [&](int) {
            if (stop) control<QPushButton>(w, "convertb")->click(); // the scan lets events through no more once stopped
        };
        for (int i = 0; i < 200; ++i) {
            stop = i % 3 == 1;
            control<QLabel>(w, "renderareapoint")->setText(i % 2 ? "10 20 110 70" : "0 0 300 300");
            control<QLabel>(w, "totpixels")->setText(i % 2 ? "5000" : "90000");
            control<QListWidget>(w, "ignorelist")->clear();
            if (i % 4 == 2) control<QListWidget>(w, "ignorelist")->addItem("16777215 > 255");
            convert(w)->convertb_Click();
            QVERIFY(run.fake.said.takeLast().startsWith(stop ? "Convert aborted." : "Convert Complete"));
            run.fake.said.clear(); // the record would grow, not the window
            const QString page = control<QLineEdit>(w, "convertfilename")->text();
            QVERIFY2(readAll(page).endsWith(kTail), qPrintable(page));
            QVERIFY(QFile::remove(page));
            if (i == 19) warmHeap = mallinfo2().uordblks;
        }
        QVERIFY(run.fake.exitCode == -1 && control<QPushButton>(w, "convertb")->isEnabled());
        const std::size_t heap = mallinfo2().uordblks;
        QVERIFY2(heap <= warmHeap + 16 * 1024, qPrintable(QString("heap %1 -> %2 bytes").arg(warmHeap).arg(heap)));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
