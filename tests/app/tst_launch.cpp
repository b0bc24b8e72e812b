// SPDX-License-Identifier: MIT
// The window's command line, run as a user runs it: what it prints and how it ends.
#include "support/table.h"
#include <QProcess>
#include <QRegularExpression>

#include <QtTest>

class TestLaunch : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        // The arguments start with the language when not C.UTF-8: "LANG=...". out is the whole of
        // standard output, err found in standard error.
        const auto row = columns<QStringList, int, QString, QString>({"arguments", "exitCode", "out", "err"});
        const QString version = "lumirune " LUMIRUNE_VERSION "\n";
        const QString usage = R"(Usage: lumirune \[options\] \[PICTURE\]\n(.*\n)*  -V, --version .*\n(.*\n)*)";
        row("--version", QStringList{"--version"}, 0, version, "");
        row("-V, after Qt's own options", QStringList{"-reverse", "-V"}, 0, version, "");
        row("-v as before", QStringList{"-v"}, 0, version, "");
        row("--help", QStringList{"--help"}, 0, usage, "");
        row("-h with a picture", QStringList{"cat.bmp", "-h"}, 0, usage, "");
        row("an unknown option", QStringList{"--bogus"}, 2, "",
            "lumirune: Unknown option 'bogus'.\nTry 'lumirune --help'.\n");
        row("an unknown option that would retitle the terminal", QStringList{"--\x1b]0;x\x07"}, 2, "",
            "lumirune: Unknown option '\\033]0;x\\007'.\n");
        row("two pictures", QStringList{"-platform", "offscreen", "cat.bmp", "dog.bmp"}, 2, "",
            "lumirune: one picture at most\n");
        row("German help", QStringList{"LANG=de_DE.UTF-8", "-h"}, 0,
            R"(Aufruf: lumirune \[Optionen\] \[BILD\]\n(.*\n)*  -V, --version  Die .*\n(.*\n)*)", "");
        row("German mistake", QStringList{"LANG=de_DE.UTF-8", "a.bmp", "b.bmp"}, 2, "",
            "lumirune: höchstens ein Bild\n");
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // No display of any kind is there.
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            environment.remove(name);
        environment.insert("LANG", arguments.value(0).startsWith("LANG=") ? arguments.takeFirst().mid(5) : "C.UTF-8");
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(LUMIRUNE_EXE, arguments);
        QVERIFY(program.waitForFinished(30000));
        const QString printed = QString::fromUtf8(program.readAllStandardOutput());
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(out)).match(printed).hasMatch(),
                 qPrintable(printed));
        QVERIFY2(QString::fromUtf8(program.readAllStandardError()).contains(err), qPrintable(err));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
    }
};

QTEST_GUILESS_MAIN(TestLaunch)
#include "tst_launch.moc"
