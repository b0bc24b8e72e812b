// SPDX-License-Identifier: MIT
// The window's command line, run as a user runs it: what it prints and how it ends.
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

class TestLaunch : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
};

void TestLaunch::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("display"); // else no display of any kind is there
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // the whole of standard output
    QTest::addColumn<QString>("err"); // found in standard error
    const QString version = "lumirune " LUMIRUNE_VERSION "\n";
    const QString usage = R"(Usage: \S*lumirune \[options\] \[PICTURE\]\n(.*\n)*  -v, --version .*\n(.*\n)*)";
    QTest::newRow("--version") << QStringList{"--version"} << false << 0 << version << "";
    QTest::newRow("-v, after Qt's own options") << QStringList{"-reverse", "-v"} << false << 0 << version << "";
    QTest::newRow("--help") << QStringList{"--help"} << false << 0 << usage << "";
    QTest::newRow("-h with a picture") << QStringList{"cat.bmp", "-h"} << false << 0 << usage << "";
    QTest::newRow("an unknown option") << QStringList{"--bogus"} << false << 2 << ""
                                       << "lumirune: Unknown option 'bogus'.\nTry 'lumirune --help'.\n";
    QTest::newRow("two pictures") << QStringList{"-platform", "offscreen", "cat.bmp", "dog.bmp"} << false << 2 << ""
                                  << "lumirune: one picture at most\n";
}

void TestLaunch::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, display);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
    if (display) environment.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(LUMIRUNE_EXE, arguments);
    QVERIFY(program.waitForFinished(30000));
    const QString printed = QString::fromLocal8Bit(program.readAllStandardOutput());
    QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(out)).match(printed).hasMatch(), qPrintable(printed));
    QVERIFY2(QString::fromLocal8Bit(program.readAllStandardError()).contains(err), qPrintable(err));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
}

QTEST_GUILESS_MAIN(TestLaunch)
#include "tst_launch.moc"
