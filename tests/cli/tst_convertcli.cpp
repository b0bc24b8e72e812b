// SPDX-License-Identifier: MIT
// lumirune-convert end to end, on small pictures made here.
#include "support/unusualpictures.h"

#include <QImage>
#include <QProcess>
#include <QtTest>

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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
    void pictures_data();
    void pictures();
    void outputsNotCreatedHereStay_data();
    void outputsNotCreatedHereStay();
    void tenConvertersAtOnce();

private:
    // Runs the converter in the test folder; returns its exit status.
    int run(const QStringList &arguments)
    {
        m_process.setWorkingDirectory(m_dir->path());
        m_process.start(CONVERT_EXE, arguments);
        const bool ended = m_process.waitForFinished(10000) && m_process.exitStatus() == QProcess::NormalExit;
        return ended ? m_process.exitCode() : -1;
    }
    QByteArray read(const QString &name) const
    {
        QFile file(m_dir->filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList files() const
    {
        return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }
    // Runs the converter as the unprivileged user nobody when the tests run as root, who passes
    // permission bits; false when that cannot be done here.
    bool runAsOrdinaryUser()
    {
        if (::geteuid() != 0) return true;
        QFile(m_dir->path()).setPermissions(QFileDevice::Permissions(0x7777)); // nobody works in the folder
        m_process.setChildProcessModifier([] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(77);
        });
        return true;
    }
    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_process;
};

// Every test starts with cat.bmp: red, green / blue, white.
void TestConvertCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_process.kill(); // one that blocked in the test before
    m_process.waitForFinished();
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
    row("-o without a name", {"-o", ""}, 2, "--output");
    row("-o naming the picture", {"-o", "./cat.bmp"}, 2, "-o names the picture");
    row("font size with a line end", {"--font-size", "7\n"}, 2, "--font-size");
    row("seed with a line end", {"--seed", "7\n"}, 2, "--seed");
    row("output folder is a plain file, even for root", {"-o", "cat.bmp/out.htm"}, 1, "cat.bmp/out.htm");
    row("disk full: the page passes the file size limit", {}, 1, "cat1.htm\": File too large");
    row("output linked to a full device: the link stays", {"-o", "full.htm"}, 1, "is a symbolic link");
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
    QCOMPARE(err.contains(file + ": damaged: converted what could be read"), file.startsWith("truncated"));
    if (!damaged) QCOMPARE(wrongColors(read("page.htm"), file, expected, "FFFFFF"), QString());
#ifndef LUMIRUNE_SANITIZED // AddressSanitizer's shadow memory would count
    rusage children{};
    QVERIFY(getrusage(RUSAGE_CHILDREN, &children) == 0); // the largest of the converters waited for so far
    QVERIFY2(children.ru_maxrss < 200 * 1024, qPrintable(QString::number(children.ru_maxrss) + " KiB"));
#endif
}

// Each picture named after cat.bmp: refused with what is wrong, without blocking on a special
// file, and the batch goes on to convert cat.bmp; or converted by the bytes of its name.
void TestConvertCli::pictures_data()
{
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<QString>("mentions"); // empty: converted
    QTest::addColumn<QStringList>("pages");
    const auto row = [](const char *name, const QByteArray &picture, const char *mentions, const QStringList &pages) {
        QTest::newRow(name) << picture << QString(mentions) << pages;
    };
    row("a folder", "folder.gif", "folder.gif: is a folder", {"cat1.htm"});
    row("a FIFO", "fifo.gif", "fifo.gif: is not a regular file", {"cat1.htm"});
    row("its own standard input, a pipe", "/dev/stdin", "/dev/stdin: is not a regular file", {"cat1.htm"});
    row("missing, though a name with a suffix added exists", "gone.jpg", "gone.jpg: No such file or directory",
        {"cat1.htm", "gone.jpg.png"});
    row("unreadable to its user", "locked.gif", "locked.gif: Permission denied", {"cat1.htm", "locked.gif"});
    row("a file name under four characters", "x.g", "x.g\": shorter than four characters", {"cat1.htm", "x.g"});
    row("the same in a folder: the folder's name is not cut", "sub/x.g", "sub/x.g\": shorter than four characters",
        {"cat1.htm", "sub"});
    // QDir lists no name it cannot decode; the page is looked for by its bytes.
    row("a name that is not UTF-8", "\xff\xfe.bmp", "", {"cat1.htm"});
}

void TestConvertCli::pictures()
{
    QFETCH(QByteArray, picture);
    QFETCH(QString, mentions);
    QFETCH(QStringList, pages);
    const QString row = QTest::currentDataTag();
    const QByteArray dir = QFile::encodeName(m_dir->path()) + '/';
    if (row == "a folder") QVERIFY(QDir(m_dir->path()).mkdir("folder.gif"));
    if (row == "a FIFO") QCOMPARE(::mkfifo(dir + "fifo.gif", 0644), 0);
    if (row.startsWith("missing")) QVERIFY(QFile::copy(m_dir->filePath("cat.bmp"), m_dir->filePath("gone.jpg.png")));
    if (row.startsWith("unreadable")) {
        QVERIFY(QFile::copy(m_dir->filePath("cat.bmp"), m_dir->filePath("locked.gif")));
        QVERIFY(QFile::setPermissions(m_dir->filePath("locked.gif"), QFileDevice::WriteOwner) && runAsOrdinaryUser());
    }
    if (picture.endsWith("x.g")) {
        QVERIFY(QDir(m_dir->path()).mkpath(QFileInfo(picture).path()));
        QVERIFY(QFile::copy(m_dir->filePath("cat.bmp"), m_dir->filePath(picture)));
    }
    if (row.startsWith("a name that")) {
        QFile raw; // QFile names are text; this one is opened by its bytes
        const int fd = ::open(dir + picture, O_WRONLY | O_CREAT | O_EXCL, 0644);
        QVERIFY(fd >= 0 && raw.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        raw.write(read("cat.bmp"));
    }
    // The converter's standard input is a pipe holding the picture, as for "cat cat.bmp | ...". The
    // shell passes the name's bytes, which QProcess would take as text.
    m_process.setWorkingDirectory(m_dir->path());
    // printf makes the bytes of the name that is not UTF-8.
    const QString name = row.startsWith("a name that") ? "$(printf '\\377\\376.bmp')" : "$1";
    m_process.start("/bin/sh", {"-c", "exec \"$0\" \"" + name + "\" cat.bmp", CONVERT_EXE, QString(picture)});
    if (m_process.waitForStarted()) {
        m_process.write(read("cat.bmp"));
        m_process.closeWriteChannel();
    }
    const bool ended = m_process.waitForFinished(10000) && m_process.exitStatus() == QProcess::NormalExit;
    if (ended && m_process.exitCode() == 77) QSKIP("cannot run the converter as the user nobody here");
    QVERIFY2(ended, "the converter blocked");
    const QString err = m_process.readAllStandardError();
    QCOMPARE(m_process.exitCode(), mentions.isEmpty() ? 0 : 1);
    QVERIFY2(err.contains(mentions), qPrintable(err));
    QStringList expected = pages << "cat.bmp" << (row == "a folder" ? "folder.gif" : row == "a FIFO" ? "fifo.gif" : "");
    expected.removeAll(QString());
    expected.sort();
    QCOMPARE(files(), expected);
    if (mentions.isEmpty())
        QCOMPARE(::access(dir + "\xff\xfe"
                                "1.htm",
                          R_OK),
                 0);
}

// Outputs named with -o that this run did not create stay as they were after a failure: nothing
// is deleted, written through a link or blocked on.
void TestConvertCli::outputsNotCreatedHereStay_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("a read-only file, for an ordinary user") << "notes.txt"
                                                            << "notes.txt\": Permission denied";
    QTest::newRow("a running program") << "sleeper"
                                       << "sleeper\": Text file busy";
    QTest::newRow("a dangling link") << "page.htm"
                                     << "page.htm\": is a symbolic link";
    QTest::newRow("a FIFO") << "fifo.htm"
                            << "fifo.htm\": is not a regular file";
}

void TestConvertCli::outputsNotCreatedHereStay()
{
    QFETCH(QString, output);
    QFETCH(QString, mentions);
    const QString path = m_dir->filePath(output);
    QProcess sleeper;
    if (output == "notes.txt") {
        QFile notes(path);
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("my notes") == 8);
        notes.close();
        QVERIFY(notes.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadOther) && runAsOrdinaryUser());
    }
    if (output == "sleeper") {
        QVERIFY(QFile::copy("/bin/sleep", path));
        sleeper.start(path, {"30"});
        QVERIFY(sleeper.waitForStarted());
    }
    if (output == "page.htm")
        QVERIFY(QFile::link("elsewhere/planted.txt", path) && QDir(m_dir->path()).mkdir("elsewhere"));
    if (output == "fifo.htm") QCOMPARE(::mkfifo(QFile::encodeName(path), 0644), 0);
    const QStringList before = files();
    const qint64 size = QFileInfo(path).size();
    const int status = run({"-o", output, "cat.bmp"});
    sleeper.kill();
    sleeper.waitForFinished();
    if (status == 77) QSKIP("cannot run the converter as the user nobody here");
    QCOMPARE(status, 1);
    const QString err = m_process.readAllStandardError();
    QVERIFY2(err.contains(mentions), qPrintable(err));
    QCOMPARE(files(), before);
    QCOMPARE(QFileInfo(path).size(), size);
    QVERIFY(!QFile::exists(m_dir->filePath("elsewhere/planted.txt")));
}

// Ten converters started at once on one picture: ten distinct pages, each whole and alike.
void TestConvertCli::tenConvertersAtOnce()
{
    std::vector<std::unique_ptr<QProcess>> converters;
    for (int i = 0; i < 10; ++i) {
        converters.push_back(std::make_unique<QProcess>());
        converters.back()->setWorkingDirectory(m_dir->path());
        converters.back()->start(CONVERT_EXE, {"--seed", "9", "cat.bmp"});
    }
    QStringList named;
    for (const auto &converter : converters) {
        QVERIFY(converter->waitForFinished(30000) && converter->exitCode() == 0);
        named << QString(converter->readAllStandardOutput()).trimmed();
    }
    named.sort();
    QStringList expected{"cat.bmp"};
    for (int n = 1; n <= 10; ++n)
        expected << QString("cat%1.htm").arg(n);
    expected.sort();
    QCOMPARE(files(), expected);
    expected.removeOne("cat.bmp");
    QCOMPARE(named, expected);
    const QByteArray first = read("cat1.htm");
    QVERIFY(first.endsWith("</font></body></html>\r\n") && first.count("<html>") == 1);
    for (const QString &page : expected)
        QCOMPARE(read(page), first);
}
QTEST_MAIN(TestConvertCli)
#include "tst_convertcli.moc"
