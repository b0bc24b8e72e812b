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
    void scaledSizes_data();
    void scaledSizes();
    void terminalFormats_data();
    void terminalFormats();
    void pipes_data();
    void pipes();
    void parallelBatchSpeaksInOrder();
    void versionAndManualAgreeWithHelp();
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
    // A picture of one colour in the test folder.
    void makePicture(const QString &name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(m_dir->filePath(name)));
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
    // What one test sets for the child (a limit, its standard input or output) ends with it.
    m_process.setChildProcessModifier({});
    m_process.setStandardInputFile({});
    m_process.setStandardOutputFile({});
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
    row("size with one side", {"--size", "10"}, 2, "--size");
    row("size with a side of 0", {"--size", "0x5"}, 2, "--size");
    row("negative width", {"--width", "-3"}, 2, "--width");
    row("height past 2000", {"--height", "2001"}, 2, "--height");
    row("fit and a width", {"--fit", "--width", "5"}, 2, "--fit");
    row("area past an exact size", {"--size", "20x10", "--area", "0 0 20 11"}, 2, "--area");
    row("unknown format", {"--format", "svg"}, 2, "--format");
    row("no jobs", {"-j", "0"}, 2, "--jobs");
    row("jobs not a number", {"--jobs", "two"}, 2, "--jobs");
    row("standard input twice", {"-", "-"}, 2, "standard input");
    row("area past the scaled picture", {"--width", "3", "--area", "0 0 3 4"}, 1,
        "cat.bmp: the area \"0 0 3 4\" does not lie within the picture scaled to 3 x 3");
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

// Pixel counts of the scaled picture, read from text pages: one line a row, one "0" a character.
void TestConvertCli::scaledSizes_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QSize>("pixels");
    const auto row = [](const char *name, QSize picture, const QStringList &arguments, QSize pixels) {
        QTest::newRow(name) << picture << arguments << pixels;
    };
    row("width keeps a square square", {512, 512}, {"--width", "150"}, {150, 150});
    row("one character a pixel halves the height", {512, 512}, {"--width", "150", "--single"}, {150, 75});
    row("height of a wide picture", {400, 100}, {"--height", "50"}, {200, 50});
    row("both sides exact", {512, 512}, {"--width", "40", "--height", "10"}, {40, 10});
    row("size exact, past the box", {20, 20}, {"--size", "400X3"}, {400, 3});
    row("fit a wide picture", {600, 300}, {"--fit"}, {300, 150});
    row("fit a tall picture", {300, 900}, {"--fit", "--single"}, {100, 300});
    row("fit leaves a small picture as it is", {30, 20}, {"--fit"}, {30, 20});
    row("area on the scaled picture", {100, 100}, {"--width", "10", "--area", "2 1 5 3"}, {3, 2});
    row("no size: the whole box", {30, 20}, {}, {300, 300});
}

void TestConvertCli::scaledSizes()
{
    QFETCH(QSize, picture);
    QFETCH(QStringList, arguments);
    QFETCH(QSize, pixels);
    makePicture("p.png", picture.width(), picture.height());
    QCOMPARE(run(arguments << "--format"
                           << "text"
                           << "--message"
                           << "0"
                           << "p.png"),
             0);
    QCOMPARE(m_process.readAllStandardOutput(), "p1.txt\n");
    const QList<QByteArray> lines = read("p1.txt").split('\n');
    QCOMPARE(lines.size() - 1, pixels.height()); // the last line end leaves an empty piece
    const int chars = arguments.contains("--single") ? 1 : 2;
    QCOMPARE(lines.first(), QByteArray(pixels.width() * chars, '0'));
}

// cat.bmp through the replacements (green as red, red as black) at quality 80: one run of black,
// then blue and white; each row sets the background, each run its colour, characters in UTF-8.
void TestConvertCli::terminalFormats_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("page");
    QTest::newRow("ansi") << "ansi"
                          << QByteArray("\x1b[48;2;255;255;255m\x1b[38;2;0;0;0mx&\xC3\x84x\x1b[0m\n"
                                        "\x1b[48;2;255;255;255m\x1b[38;2;0;0;255m&\xC3\x84\x1b[38;2;255;255;255mx&"
                                        "\x1b[0m\n");
    QTest::newRow("text") << "text" << QByteArray("x&\xC3\x84x\n&\xC3\x84x&\n");
}

void TestConvertCli::terminalFormats()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, page);
    QCOMPARE(run({"--format", format,      "--sequential", "--message",   "x&Ä",       "--size",  "2x2",
                  "--area",   "0 0 2 2",   "--replace",    "65280 > 255", "--replace", "255 > 0", "--background",
                  "white",    "--quality", "80",           "-o",          "-",         "cat.bmp"}),
             0);
    QCOMPARE(m_process.readAllStandardOutput(), page);
}

// A picture and a page through real pipes; a closed pipe or a full disk is a failure, never a
// silent success; what is not a picture is refused. Nothing is written beside the picture.
void TestConvertCli::pipes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output"); // where the child's standard output goes
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("mentions");
    const auto row = [](const char *name, const QStringList &arguments, const char *input, const char *output,
                        int status, const char *mentions) {
        QTest::newRow(name) << arguments << QString(input) << QString(output) << status << QString(mentions);
    };
    row("picture from standard input, page to standard output", {"-"}, "cat.bmp", "pipe", 0, "");
    row("page of a file to standard output", {"-o", "-", "cat.bmp"}, "", "pipe", 0, "");
    row("the reader of the page is gone", {"--size", "2000x2000", "-"}, "cat.bmp", "closed pipe", 1,
        "standard output\": Broken pipe");
    row("the page fills the disk", {"-o", "-", "cat.bmp"}, "", "/dev/full", 1, "No space left on device");
    row("not a picture on standard input", {"-"}, "text", "pipe", 1, "standard input: not a readable picture");
}

void TestConvertCli::pipes()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(int, status);
    QFETCH(QString, mentions);
    if (input == "text") {
        QFile text(m_dir->filePath(input));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a picture\n") > 0);
    }
    if (!input.isEmpty()) m_process.setStandardInputFile(m_dir->filePath(input));
    int reader[2] = {-1, -1};
    if (output == "closed pipe") {
        QVERIFY(::pipe(reader) == 0);
        ::close(reader[0]); // the reader is gone before the first write
        m_process.setChildProcessModifier([&] { ::dup2(reader[1], STDOUT_FILENO); });
    } else if (output == "/dev/full") {
        m_process.setStandardOutputFile("/dev/full");
    }
    const int got = run(QStringList{"--sequential"} + arguments);
    if (reader[1] >= 0) ::close(reader[1]);
    const QString err = m_process.readAllStandardError();
    QCOMPARE(got, status);
    QVERIFY2(err.contains(mentions) && (status != 0 || err.isEmpty()), qPrintable(err));
    if (output == "pipe") {
        const QByteArray page = m_process.readAllStandardOutput();
        QCOMPARE(page.startsWith("<html>"), status == 0);
        QCOMPARE(page.endsWith("</html>\r\n"), status == 0);
    }
    QCOMPARE(files().filter(".htm"), QStringList());
}

// Pictures converted two at a time speak in the order given, as they would one at a time; the
// damaged one fails alone; pictures named alike get distinct pages, numbered in the order given.
void TestConvertCli::parallelBatchSpeaksInOrder()
{
    QVERIFY(QFile::copy(QString(TEST_DATA_DIR) + "/pictures/text.bmp", m_dir->filePath("broken.jpg")));
    makePicture("cat.png", 64, 64);
    makePicture("a.png", 300, 300);
    const QStringList pictures{"a.png", "broken.jpg", "cat.bmp", "cat.png", "cat.bmp"};
    QByteArray outputs[2];
    for (int jobs : {1, 2}) {
        QCOMPARE(run(QStringList{"-j", QString::number(jobs), "--seed", "3"} + pictures), 1);
        outputs[jobs - 1] = m_process.readAllStandardOutput();
        const QString err = m_process.readAllStandardError();
        QVERIFY2(err.startsWith("lumirune-convert: broken.jpg: not a readable picture") && err.count('\n') == 1,
                 qPrintable(err));
        if (jobs == 1) QVERIFY(QFile::rename(m_dir->filePath("cat2.htm"), m_dir->filePath("one-at-a-time.htm")));
        for (const char *page : {"a1.htm", "cat1.htm", "cat3.htm"})
            QVERIFY(QFile::remove(m_dir->filePath(page)));
    }
    QCOMPARE(outputs[0], "a1.htm\ncat1.htm\ncat2.htm\ncat3.htm\n");
    QCOMPARE(outputs[1], outputs[0]);
    QCOMPARE(read("cat2.htm"), read("one-at-a-time.htm"));
}

// -V prints the version; the manual and --help name the same options, which the shells complete.
void TestConvertCli::versionAndManualAgreeWithHelp()
{
    QCOMPARE(run({"-V"}), 0);
    QVERIFY(QRegularExpression("^lumirune-convert \\d+\\.\\d+(\\.\\d+)?\n$")
                .match(m_process.readAllStandardOutput())
                .hasMatch());
    QCOMPARE(run({"--help"}), 0);
    const QString help = m_process.readAllStandardOutput();
    QFile manual(MANUAL_PAGE);
    QVERIFY(manual.open(QIODevice::ReadOnly));
    const QString roff = QString::fromUtf8(manual.readAll()).replace("\\-", "-");
    const auto options = [](const QString &text) {
        QStringList names;
        static const QRegularExpression option(R"((?<![\w-])(--[a-z][a-z-]*|-[a-zA-Z])\b)");
        for (const QRegularExpressionMatch &m : option.globalMatch(text))
            names << m.captured(1);
        names.removeDuplicates();
        names.sort();
        return names;
    };
    QVERIFY(options(help).contains("--fit"));
    QCOMPARE(options(roff), options(help));
    QVERIFY(roff.contains(".SH EXIT STATUS") && roff.contains(".SH EXAMPLES"));
    // Every shell completes every long option.
    for (const char *path : {"bash/lumirune-convert", "zsh/_lumirune-convert", "fish/lumirune-convert.fish"}) {
        QFile completion(QString(COMPLETIONS_DIR) + "/" + path);
        QVERIFY(completion.open(QIODevice::ReadOnly));
        const QString text = completion.readAll();
        for (const QString &option : options(help).filter("--"))
            QVERIFY2(text.contains(option) || text.contains("-l " + option.mid(2) + " "),
                     qPrintable(path + (" " + option)));
    }
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
