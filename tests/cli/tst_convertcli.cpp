// SPDX-License-Identifier: MIT
// lumirune-convert end to end, on small pictures made here.
#include "support/unusualpictures.h"

#include <QImage>
#include <QProcess>
#include <QtTest>

#include <sys/resource.h>

class TestConvertCli : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void convertsBesidePictureExactly();
    void damagedPictureIsReportedAndOthersStillConvert();
    void refusals_data();
    void refusals();
    void unusualPictures_data() { addUnusualPictureRows(); }
    void unusualPictures();

private:
    // Runs the converter in the test folder; returns its exit status.
    int run(const QStringList &arguments)
    {
        m_process.setWorkingDirectory(m_dir->path());
        m_process.start(CONVERT_EXE, arguments);
        const bool ended = m_process.waitForFinished(30000) && m_process.exitStatus() == QProcess::NormalExit;
        return ended ? m_process.exitCode() : -1;
    }
    QByteArray read(const QString &name) const
    {
        QFile file(m_dir->filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList files() const { return QDir(m_dir->path()).entryList(QDir::Files, QDir::Name); }
    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_process;
};

// Every test starts with cat.bmp: red, green / blue, white.
void TestConvertCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_process.setChildProcessModifier({}); // a limit set for one test ends with it
    QVERIFY(QImage(QString(TEST_DATA_DIR) + "/two-by-two.gif").save(m_dir->filePath("cat.bmp")));
}

// The area starts one column in and reaches one beyond the picture, into the white of the picture
// box. Green becomes red, which becomes black: entries chain in order, spacing around '>' forgiven.
// Two characters per pixel take the message on across pieces and rows, each a single Windows-1252
// byte, with '&' written as "&amp;": a bare one could start a character reference that swallows
// the characters after it. Lines end in CR LF.
void TestConvertCli::convertsBesidePictureExactly()
{
    QCOMPARE(run({"--sequential", "--message", "x&Ä", "--area", "1 0 3 2", "--replace", "65280 > 255", "--replace",
                  "255>0", "--background", "white", "--font-size", "7", "--no-pre", "cat.bmp"}),
             0);
    QCOMPARE(m_process.readAllStandardOutput(), "cat1.htm\n");
    QCOMPARE(read("cat1.htm"),
             QByteArray("<html><head><title>Orvanta @ Lumirune</title></head><body bgcolor=#FFFFFF><font size=7>\r\n"
                        "<font color=#000000>x&amp;</font><font color=#FFFFFF>\xC4x</font><br>"
                        "<font color=#FFFFFF>&amp;\xC4x&amp;</font><br>"
                        "<font color=#FFFFFF>Orvanta @ Lumirune</font></font></body></html>\r\n"));
}

// No partial page is left for an unreadable picture, and every conversion is seeded alike.
void TestConvertCli::damagedPictureIsReportedAndOthersStillConvert()
{
    QVERIFY(QFile::copy(QString(TEST_DATA_DIR) + "/pictures/text.bmp", m_dir->filePath("broken.jpg")));
    QCOMPARE(run({"--seed", "9", "broken.jpg", "missing.gif", "cat.bmp", "cat.bmp"}), 1);
    const QString err = m_process.readAllStandardError();
    QVERIFY2(err.contains("broken.jpg") && err.contains("missing.gif"), qPrintable(err));
    QCOMPARE(m_process.readAllStandardOutput(), "cat1.htm\ncat2.htm\n");
    QCOMPARE(files(), (QStringList{"broken.jpg", "cat.bmp", "cat1.htm", "cat2.htm"}));
    QCOMPARE(read("cat2.htm"), read("cat1.htm"));
}

// Bad options (status 2) and an output that cannot be written (status 1) leave no page behind, but
// never remove what was there: a link named as the output.
void TestConvertCli::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("mentions");
    const auto row = [](const char *name, const QStringList &arguments, int status, const char *mentions) {
        QTest::newRow(name) << arguments << status << QString(mentions);
    };
    row("unknown option", {"--colour", "x"}, 2, "colour");
    row("quality not in the list", {"--quality", "55"}, 2, "--quality");
    row("font size 07", {"--font-size", "07"}, 2, "--font-size");
    row("area past 300", {"--area", "0 0 301 300"}, 2, "--area");
    row("area with x2 = x1", {"--area", "5 0 5 10"}, 2, "--area");
    row("message with a space", {"--message", "hello world"}, 2, "' '");
    row("unknown preset", {"--preset", "Own message"}, 2, "--preset");
    row("replace past white", {"--replace", "255 > 16777216"}, 2, "--replace");
    row("-o for two pictures", {"-o", "x.htm", "second.bmp"}, 2, "-o");
    row("output folder is a plain file, even for root", {"-o", "cat.bmp/out.htm"}, 1, "cat.bmp/out.htm");
    row("disk full: the page passes the file size limit", {}, 1, "cat1.htm\": File too large");
    row("output linked to a full device: the link stays", {"-o", "full.htm"}, 1, "No space left on device");
}

void TestConvertCli::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, mentions);
    const QString row = QTest::currentDataTag();
    const bool linked = row.startsWith("output linked");
    if (row.startsWith("disk full"))
        m_process.setChildProcessModifier([] {
            const rlimit limit{1000, 1000};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    if (linked) QVERIFY(QFile::link("/dev/full", m_dir->filePath("full.htm")));
    QCOMPARE(run(arguments << "cat.bmp"), status);
    const QString err = m_process.readAllStandardError();
    QVERIFY2(err.contains(mentions), qPrintable(err));
    QCOMPARE(files(), (linked ? QStringList{"cat.bmp", "full.htm"} : QStringList{"cat.bmp"}));
}

// The window's pictures through the converter: the page, or the refusal naming the picture, and
// every run within 200 MiB at its peak.
void TestConvertCli::unusualPictures()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QVERIFY(QFile::copy(QString(TEST_DATA_DIR) + "/pictures/" + file, m_dir->filePath(file)));
    const bool damaged = expected.startsWith("damaged");
    QCOMPARE(run({"-o", "page.htm", file}), damaged ? 1 : 0);
    const QString err = m_process.readAllStandardError();
    const QString named = damaged ? expected.mid(9) : QString(); // what the converter says of the picture
    QVERIFY2(err.contains(file + ": not a readable picture (") == damaged && err.contains(named), qPrintable(err));
    if (!damaged) QCOMPARE(wrongColors(read("page.htm"), file, expected, "FFFFFF"), QString());
#ifndef LUMIRUNE_SANITIZED // AddressSanitizer's shadow memory would count
    rusage children{};
    QVERIFY(getrusage(RUSAGE_CHILDREN, &children) == 0); // the largest of the converters waited for so far
    QVERIFY2(children.ru_maxrss < 200 * 1024, qPrintable(QString::number(children.ru_maxrss) + " KiB"));
#endif
}

QTEST_MAIN(TestConvertCli)
#include "tst_convertcli.moc"
