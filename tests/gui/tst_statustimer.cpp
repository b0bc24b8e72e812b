// SPDX-License-Identifier: MIT
// The status timer: the seconds counted and the estimate shown while a conversion runs.
#include "support/reportsupport.h"

#include <QPushButton>
#include <QtTest>

class StatusTimerTest : public QObject
{
    Q_OBJECT

private slots:
    void estimate_data();
    void estimate();
    void countsFromTheFirstFinishedLine();
    void stopEndsTheCount();
    void tickFailure_data();
    void tickFailure();
};

const QList<QList<QColor>> kPicture{{Qt::red, Qt::green, Qt::blue}, {Qt::white, Qt::black, Qt::gray}};

void StatusTimerTest::estimate_data()
{
    QTest::addColumn<int>("totallines");
    QTest::addColumn<QString>("linesDone");
    QTest::addColumn<int>("countedBefore");
    QTest::addColumn<QString>("caption");

    QTest::newRow("300 lines, 4 done") << 300 << "4" << 11 << "12 sec elasped, 888 sec left.";
    QTest::newRow("100 lines, 7 done") << 100 << "7" << 9 << "10 sec elasped, 132 sec left.";
    QTest::newRow("one line to go") << 50 << "49" << 97 << "98 sec elasped, 2 sec left.";
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
    QVERIFY(!fake.quitCalled);
}

// A tick after every pixel of a 3 x 2 area, while the timer runs; the first row ends at pixel 3.
void StatusTimerTest::countsFromTheFirstFinishedLine()
{
    ScratchFolder scratch;
    FakePlatform fake;
    ui::quennet window(fake);
    loadTestPicture(window, fake, scratch.filePath("pictures"), kPicture);
    QStringList seen;
    fake.onProcessEvents = [&](int) {
        if (window.statustimer->isActive()) tick(window);
        seen << window.convertlinenr->text() + ": " + window.convertinfo3->text();
    };

    window.convertb_Click();
    QCOMPARE(seen, QStringList({"0: 0 sec elasped, 0 sec left.", "0: 0 sec elasped, 0 sec left.",
                                "1: 1 sec elasped, 1 sec left.", "1: 2 sec elasped, 2 sec left.",
                                "1: 3 sec elasped, 3 sec left."}));
    QVERIFY(!window.statustimer->isActive());
    QCOMPARE(window.convertinfo3->text(), "3 sec elasped, 3 sec left.");

    // The next conversion keeps the last estimate until its own first line, then counts afresh.
    seen.clear();
    window.convertb_Click();
    QCOMPARE(seen.mid(1, 2), QStringList({"0: 3 sec elasped, 3 sec left.", "1: 1 sec elasped, 1 sec left."}));
    QCOMPARE(fake.messageTexts().count("Convert Complete"), 2);
}

void StatusTimerTest::stopEndsTheCount()
{
    ScratchFolder scratch;
    FakePlatform fake;
    ui::quennet window(fake);
    loadTestPicture(window, fake, scratch.filePath("pictures"), kPicture);
    fake.onProcessEvents = [&](int call) {
        if (call == 4) window.convertb->click();
    };
    window.convertb_Click();
    QCOMPARE(fake.messageTexts().constLast(), "Convert aborted.");
    QVERIFY(!window.statustimer->isActive());
}

void StatusTimerTest::tickFailure_data()
{
    QTest::addColumn<QString>("linesDone");
    QTest::addColumn<int>("countedBefore");
    QTest::addColumn<QString>("errorNumber");
    QTest::addColumn<QString>("counted");

    QTest::newRow("count passes 32767") << "5" << 32767 << "ErrN: 6"
                                        << "RendT: 32767";
    QTest::newRow("line caption not a number") << "five" << 7 << "ErrN: 13"
                                               << "RendT: 8";
    QTest::newRow("zero written another way") << "00" << 7 << "ErrN: 11"
                                              << "RendT: 8";
}

void StatusTimerTest::tickFailure()
{
    QFETCH(QString, linesDone);
    QFETCH(int, countedBefore);
    QFETCH(QString, errorNumber);
    QFETCH(QString, counted);

    ScratchFolder scratch;
    FakePlatform fake;
    ui::quennet window(fake);
    window.totallines = 300;
    window.rendertime = int16_t(countedBefore);
    window.convertlinenr->setText(linesDone);
    tick(window);

    const QStringList lines = reportLines();
    QCOMPARE(lines.size(), 13);
    QCOMPARE(lines[1], "Progress: Stat timer");
    QCOMPARE(lines[3], errorNumber);
    QCOMPARE(lines[6], counted);
    QCOMPARE(window.convertinfo3->text(), "0 sec elasped, 0 sec left.");
    QCOMPARE(fake.messageTexts(), QStringList{"Error: Send file errormsg.txt to Corvalis..."});
    QVERIFY(fake.quitCalled && fake.exitCode != 0);
}

QTEST_MAIN(StatusTimerTest)
#include "tst_statustimer.moc"
