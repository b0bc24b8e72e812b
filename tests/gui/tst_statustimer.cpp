// SPDX-License-Identifier: MIT
// The status timer: the seconds counted and the estimate shown while a conversion runs.
#include "support/fakeplatform.h"
#include "support/reportsupport.h"

#include "mainwindow/controls.h"
#include "mainwindow/quennet.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

class StatusTimerTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void estimate_data();
    void estimate();
    void countsFromTheFirstFinishedLine();
    void timerRunsOnlyWhileConverting_data();
    void timerRunsOnlyWhileConverting();
    void tickFailureEndsTheProgram_data();
    void tickFailureEndsTheProgram();

private:
    void loadSmallPicture(ui::quennet &window, FakePlatform &fake);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_startFolder;
};

void StatusTimerTest::init()
{
    m_startFolder = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void StatusTimerTest::cleanup()
{
    QDir::setCurrent(m_startFolder);
    m_dir.reset();
}

void StatusTimerTest::loadSmallPicture(ui::quennet &window, FakePlatform &fake)
{
    loadTestPicture(window, fake, m_dir->filePath("pictures"),
                    {{Qt::red, Qt::green, Qt::blue}, {Qt::white, Qt::black, Qt::gray}});
    window.renderareapoint->setText("0 0 3 2");
    window.totpixels->setText("6");
    window.setScanEventInterval(std::chrono::nanoseconds(0));
}

void StatusTimerTest::estimate_data()
{
    QTest::addColumn<int>("totallines");
    QTest::addColumn<QString>("linesDone");
    QTest::addColumn<int>("countedBefore");
    QTest::addColumn<QString>("caption");

    QTest::newRow("300 lines, 4 done") << 300 << "4" << 11 << "12 sec elasped, 888 sec left.";
    QTest::newRow("100 lines, 7 done") << 100 << "7" << 9 << "10 sec elasped, 132 sec left.";
    QTest::newRow("one line to go") << 50 << "49" << 97 << "98 sec elasped, 2 sec left.";
    QTest::newRow("last line done") << 5 << "5" << 3 << "4 sec elasped, 0 sec left.";
    // 5 / 3 * 7 = 11.67: the fraction is dropped, not rounded.
    QTest::newRow("fraction of a second dropped") << 10 << "3" << 4 << "5 sec elasped, 11 sec left.";
    QTest::newRow("large estimate in whole digits") << 300 << "1" << 32766 << "32767 sec elasped, 9797333 sec left.";
    QTest::newRow("no line finished: nothing changes") << 300 << "0" << 11 << "0 sec elasped, 0 sec left.";
}

void StatusTimerTest::estimate()
{
    QFETCH(int, totallines);
    QFETCH(QString, linesDone);
    QFETCH(int, countedBefore);
    QFETCH(QString, caption);

    FakePlatform fake;
    ui::quennet window(fake);
    window.totallines = int16_t(totallines);
    window.rendertime = int16_t(countedBefore);
    window.convertlinenr->setText(linesDone);
    tick(window);
    QCOMPARE(window.convertinfo3->text(), caption);
    QVERIFY(fake.messages.isEmpty());
    QVERIFY(!fake.quitCalled);
}

// Ticks arrive after every pixel of a 3 x 2 area; the first row ends at the third pixel.
void StatusTimerTest::countsFromTheFirstFinishedLine()
{
    FakePlatform fake;
    ui::quennet window(fake);
    loadSmallPicture(window, fake);
    QStringList seen;
    fake.onProcessEvents = [&](int) {
        if (window.statustimer->isActive()) tick(window);
        seen << window.convertlinenr->text() + ": " + window.convertinfo3->text();
    };

    window.convertb_Click();
    QCOMPARE(seen, QStringList({"0: 0 sec elasped, 0 sec left.", "0: 0 sec elasped, 0 sec left.",
                                "1: 1 sec elasped, 1 sec left.", "1: 2 sec elasped, 2 sec left.",
                                "1: 3 sec elasped, 3 sec left."}));
    QCOMPARE(window.convertinfo3->text(), "3 sec elasped, 3 sec left.");

    // The next conversion shows the last estimate until its own first line is done, and counts
    // from zero again.
    seen.clear();
    window.convertb_Click();
    QCOMPARE(seen, QStringList({"0: 3 sec elasped, 3 sec left.", "0: 3 sec elasped, 3 sec left.",
                                "1: 1 sec elasped, 1 sec left.", "1: 2 sec elasped, 2 sec left.",
                                "1: 3 sec elasped, 3 sec left."}));
    QCOMPARE(fake.messageTexts().count("Convert Complete"), 2);
}

void StatusTimerTest::timerRunsOnlyWhileConverting_data()
{
    QTest::addColumn<bool>("pressStop");
    QTest::addColumn<QString>("lastMessage");

    QTest::newRow("completed") << false << "Convert Complete";
    QTest::newRow("stopped") << true << "Convert aborted.";
}

void StatusTimerTest::timerRunsOnlyWhileConverting()
{
    QFETCH(bool, pressStop);
    QFETCH(QString, lastMessage);

    FakePlatform fake;
    ui::quennet window(fake);
    loadSmallPicture(window, fake);
    QVERIFY(!window.statustimer->isActive());
    QList<bool> running;
    fake.onProcessEvents = [&](int call) {
        running << window.statustimer->isActive();
        if (pressStop && call == 2) window.convertb->click();
    };
    window.convertb_Click();

    QCOMPARE(running.first(), true);
    QCOMPARE(fake.messageTexts().constLast(), lastMessage);
    QVERIFY(!window.statustimer->isActive());
    QCOMPARE(window.statustimer->interval(), 1000);
}

void StatusTimerTest::tickFailureEndsTheProgram_data()
{
    QTest::addColumn<QString>("linesDone");
    QTest::addColumn<int>("countedBefore");
    QTest::addColumn<QString>("errorNumberLine");
    QTest::addColumn<QString>("countLine");

    QTest::newRow("count passes 32767") << "5" << 32767 << "ErrN: 6"
                                        << "RendT: 32767";
    QTest::newRow("line caption not a number") << "five" << 7 << "ErrN: 13"
                                               << "RendT: 8";
    QTest::newRow("zero written another way") << "00" << 7 << "ErrN: 11"
                                              << "RendT: 8";
}

void StatusTimerTest::tickFailureEndsTheProgram()
{
    QFETCH(QString, linesDone);
    QFETCH(int, countedBefore);
    QFETCH(QString, errorNumberLine);
    QFETCH(QString, countLine);

    FakePlatform fake;
    ui::quennet window(fake);
    window.totallines = 300;
    window.rendertime = int16_t(countedBefore);
    window.convertlinenr->setText(linesDone);
    tick(window);

    const QStringList lines = reportLines();
    QCOMPARE(lines.size(), 13);
    QCOMPARE(lines[1], "Progress: Stat timer");
    QCOMPARE(lines[3], errorNumberLine);
    QCOMPARE(lines[6], countLine);
    QCOMPARE(lines[8], "ConvL: " + linesDone);
    QCOMPARE(window.convertinfo3->text(), "0 sec elasped, 0 sec left.");
    QCOMPARE(fake.messageTexts(), QStringList{"Error: Send file errormsg.txt to Corvalis..."});
    QVERIFY(fake.quitCalled);
    QVERIFY(fake.exitCode != 0);
}

QTEST_MAIN(StatusTimerTest)
#include "tst_statustimer.moc"
