// SPDX-License-Identifier: MIT
// lumirune-convert end to end, on small pictures made here.
#include "support/files.h"
#include "support/table.h"
#include "support/unusualpictures.h"

#include <QImage>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

class TestConvertCli : public QObject
{
    Q_OBJECT

private slots:
    void unusualPictures_data() { addUnusualPictureRows(); }

    // Every test starts with cat.bmp: red, green / blue, white.
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        for (QProcess *process : {&m_process, &m_sleeper}) { // one that blocked in the test before
            process->kill();
            process->waitForFinished();
        }
        // What one test sets for the child (a limit, its standard input or output) ends with it.
        m_process.setChildProcessModifier({});
        m_process.setStandardInputFile({});
        m_process.setStandardOutputFile({});
        m_process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        QVERIFY(QImage(QString(TEST_DATA_DIR) + "/two-by-two.gif").save(m_dir->filePath("cat.bmp")));
    }

    // The area starts one column in and reaches one beyond the picture, into the white of the picture
    // box. Green becomes red, which becomes black: entries chain in order, spacing around '>' forgiven.
    // Two characters per pixel take the message on across pieces and rows, each a single Windows-1252
    // byte, with '&' written as "&amp;": a bare one could start a character reference that swallows
    // the characters after it. Lines end in CR LF.
    void convertsBesidePictureExactly()
    {
        QCOMPARE(run({"--sequential", "--message", "x&Ä", "--area", "1 0 3 2", "--replace", "65280 > 255", "--replace",
                      "255>0", "--background", "white", "--font-size", "7", "--no-pre", "cat.bmp"}),
                 0);
        QCOMPARE(m_process.readAllStandardOutput(), "cat1.htm\n");
        QCOMPARE(
            read("cat1.htm"),
            QByteArray("<html><head><title>Orvanta @ Lumirune</title></head><body bgcolor=#FFFFFF><font size=7>\r\n"
                       "<font color=#000000>x&amp;</font><font color=#FFFFFF>\xC4x</font><br>"
                       "<font color=#FFFFFF>&amp;\xC4x&amp;</font><br>"
                       "<font color=#FFFFFF>Orvanta @ Lumirune</font></font></body></html>\r\n"));
    }

    // Runs that fail or write to a pipe: the status, what standard error says (nothing on success), the
    // page on standard output only on success, and nothing made, removed, resized or written through a
    // link beside the picture. Bad options give status 2, a failure to read or write status 1; a closed
    // pipe or a full disk is a failure, never a silent success. Outputs named with -o that this run did
    // not create stay as they were: nothing is deleted, written through a link or blocked on.
    void runs_data()
    {
        // input: the child's standard input, if not the test's
        // output: "closed pipe" or a file for the child's standard output
        const auto add = columns<QStringList, int, QString, QString, QString>(
            {"arguments", "status", "mentions", "input", "output"});
        const auto row = [&add](const char *name, const QStringList &arguments, int status, const char *mentions,
                                const char *input = "",
                                const char *output = "") { add(name, arguments, status, mentions, input, output); };
        row("unknown option", {"--colour", "x", "cat.bmp"}, 2, "colour");
        row("quality not in the list", {"--quality", "55", "cat.bmp"}, 2, "--quality");
        row("font size 07", {"--font-size", "07", "cat.bmp"}, 2, "--font-size");
        row("area past 300", {"--area", "0 0 301 300", "cat.bmp"}, 2, "--area");
        row("message with a space", {"--message", "hello world", "cat.bmp"}, 2, "' '");
        row("unknown preset", {"--preset", "Own message", "cat.bmp"}, 2, "--preset");
        row("replace past white", {"--replace", "255 > 16777216", "cat.bmp"}, 2, "--replace");
        row("replace with a word after", {"--replace", "255 > 0 x", "cat.bmp"}, 2, "--replace");
        row("-o for two pictures", {"-o", "x.htm", "second.bmp", "cat.bmp"}, 2, "-o");
        row("size with one side", {"--size", "10", "cat.bmp"}, 2, "--size");
        row("size with a side of 0", {"--size", "0x5", "cat.bmp"}, 2, "--size");
        row("height past 2000", {"--height", "2001", "cat.bmp"}, 2, "--height");
        row("fit and a width", {"--fit", "--width", "5", "cat.bmp"}, 2, "--fit");
        row("area past an exact size", {"--size", "20x10", "--area", "0 0 20 11", "cat.bmp"}, 2, "--area");
        row("unknown format", {"--format", "svg", "cat.bmp"}, 2, "--format");
        row("colour depth not 24, 8 or 4", {"--color-depth", "16", "cat.bmp"}, 2, "--color-depth \"16\"");
        row("jobs not a number", {"--jobs", "two", "cat.bmp"}, 2, "--jobs");
        row("standard input twice", {"-", "-", "cat.bmp"}, 2, "standard input");
        row("area past the scaled picture", {"--width", "3", "--area", "0 0 3 4", "cat.bmp"}, 1,
            "cat.bmp: the area \"0 0 3 4\" does not lie within the picture scaled to 3 x 3");
        row("-o without a name", {"-o", "", "cat.bmp"}, 2, "--output");
        row("-o naming the picture", {"-o", "./cat.bmp", "cat.bmp"}, 2, "-o names the picture");
        row("seed with a line end", {"--seed", "7\n", "cat.bmp"}, 2, "--seed");
        row("output folder is a plain file, even for root", {"-o", "cat.bmp/out.htm", "cat.bmp"}, 1, "cat.bmp/out.htm");
        row("disk full: the page passes the file size limit", {"cat.bmp"}, 1, "cat1.htm\": File too large");
        row("disk full: -o over a page keeps it whole", {"-o", "old.htm", "cat.bmp"}, 1, "old.htm\": File too large");
        row("-o linked to a full device, written as a stream: the link stays", {"-o", "full.htm", "cat.bmp"}, 1,
            "full.htm\": No space left on device");
        row("-o a read-only file, for an ordinary user", {"-o", "notes.txt", "cat.bmp"}, 1,
            "notes.txt\": Permission denied");
        row("-o a running program", {"-o", "sleeper", "cat.bmp"}, 1, "sleeper\": Text file busy");
        row("-o a dangling link", {"-o", "page.htm", "cat.bmp"}, 1, "page.htm\": is a symbolic link");
        row("-o a FIFO, written as a stream", {"--size", "2x2", "-o", "fifo.htm", "cat.bmp"}, 0, "", "", "FIFO");
        row("-o /dev/stdout", {"-o", "/dev/stdout", "cat.bmp"}, 0, "");
        row("picture from standard input, page to standard output", {"-"}, 0, "", "cat.bmp");
        row("page of a file to standard output", {"-o", "-", "cat.bmp"}, 0, "");
        row("the reader of the page is gone: quietly", {"--size", "2000x2000", "-"}, 1, "", "cat.bmp", "closed pipe");
        row("the page fills the disk", {"-o", "-", "cat.bmp"}, 1, "No space left on device", "", "/dev/full");
        row("not a picture on standard input", {"-"}, 1, "standard input: not a readable picture",
            TEST_DATA_DIR "/pictures/text.bmp");
    }

    void runs()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, mentions);
        QFETCH(QString, input);
        QFETCH(QString, output);
        if (QString(QTest::currentDataTag()).startsWith("disk full"))
            m_process.setChildProcessModifier([] {
                const rlimit limit{1000, 1000};
                setrlimit(RLIMIT_FSIZE, &limit);
            });
        if (arguments.contains("-o")) make(arguments.value(arguments.indexOf("-o") + 1));
        if (!input.isEmpty()) m_process.setStandardInputFile(QDir(m_dir->path()).filePath(input));
        int reader[2] = {-1, -1};
        if (output == "closed pipe") {
            QVERIFY(::pipe(reader) == 0);
            ::close(reader[0]); // the reader is gone before the first write
            m_process.setChildProcessModifier([&] { ::dup2(reader[1], STDOUT_FILENO); });
        } else if (output == "FIFO") { // read once the converter has ended; it is small
            reader[0] = ::open(QFile::encodeName(m_dir->filePath("fifo.htm")), O_RDONLY | O_NONBLOCK);
        } else if (!output.isEmpty()) {
            m_process.setStandardOutputFile(output);
        }
        const QStringList before = files(true);
        const int got = run(arguments);
        if (reader[1] >= 0) ::close(reader[1]);
        m_sleeper.kill();
        m_sleeper.waitForFinished();
        if (got == 77) QSKIP("cannot run the converter as the user nobody here");
        QCOMPARE(got, status);
        const QString err = m_process.readAllStandardError();
        QVERIFY2(mentions.isEmpty() ? err.isEmpty() : err.contains(mentions), qPrintable(err));
        QByteArray page = m_process.readAllStandardOutput();
        if (output == "FIFO") {
            QCOMPARE(page, "fifo.htm\n");
            QFile fifo;
            QVERIFY(fifo.open(reader[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
            page = fifo.readAll();
        }
        QVERIFY2(status ? page.isEmpty() : page.startsWith("<html>") && page.endsWith("</html>\r\n"), page.left(80));
        QCOMPARE(files(true), before);
        QVERIFY(!QFile::exists(m_dir->filePath("elsewhere/planted.txt")));
    }

    // The window's pictures through the converter: the page, or the refusal naming the picture, and
    // every run within 200 MiB at its peak.
    void unusualPictures()
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

    // Each way of asking for a size reaches the scaler (whose rules are tested on their own): pixel
    // counts of the scaled picture, read from text pages: one line a row, one "0" a character.
    void scaledSizes_data()
    {
        // terminal: where the page is written to standard output, as runOnTerminal() takes; empty: a file
        const auto row = columns<QSize, QStringList, QSize, QString>({"picture", "arguments", "pixels", "terminal"});
        row("height of a wide picture", {400, 100}, {"--height", "50"}, {200, 50}, "");
        row("size exact, past the box", {20, 20}, {"--size", "400X3"}, {400, 3}, "");
        row("fit a tall picture", {300, 900}, {"--fit", "--single"}, {100, 300}, "");
        row("square pixels keep the height of one character", {512, 256}, {"--width", "150", "--single", "--square"},
            {150, 75}, "");
        row("area on the scaled picture", {100, 100}, {"--width", "10", "--area", "2 1 5 3"}, {3, 2}, "");
        // On a terminal, with no size asked for, the page fits it with a line to spare.
        row("a terminal of 80 x 24", {640, 480}, {}, {31, 23}, "80x24");
        row("a terminal that does not know its size: COLUMNS and LINES", {640, 480}, {}, {15, 11},
            "0x0 COLUMNS=60 LINES=12");
        row("a terminal that does not know its size, nor COLUMNS and LINES", {640, 480}, {}, {31, 23}, "0x0");
        row("a terminal, an area asked for in the box", {640, 480}, {"--area", "0 0 50 40"}, {50, 40}, "80x24");
        row("a pipe, whatever COLUMNS and LINES say", {640, 480}, {}, {300, 300}, "pipe COLUMNS=60 LINES=12");
    }

    void scaledSizes()
    {
        QFETCH(QSize, picture);
        QFETCH(QStringList, arguments);
        QFETCH(QSize, pixels);
        QFETCH(QString, terminal);
        makePicture("p.png", picture.width(), picture.height());
        // A square page is HTML: its rows between the tags.
        const bool html = arguments.contains("--square");
        const QStringList options = arguments + QStringList{"--format", html ? "html" : "text", "--message", "0"};
        QByteArray page;
        if (terminal.isEmpty()) {
            QCOMPARE(run(options + QStringList{"p.png"}), 0);
            QCOMPARE(m_process.readAllStandardOutput(), html ? "p1.htm\n" : "p1.txt\n");
            page = read(html ? "p1.htm" : "p1.txt");
        } else {
            page = runOnTerminal(options + QStringList{"-o", "-", "p.png"}, terminal);
        }
        if (html)
            page = QString(page.mid(page.indexOf("<pre>")))
                       .remove(QRegularExpression("<(?!br>)[^>]*>"))
                       .trimmed()
                       .toLatin1();
        const QList<QByteArray> lines = page.replace("<br>", "\n").split('\n');
        QCOMPARE(lines.size() - 1, pixels.height()); // the last line end leaves an empty piece
        QCOMPARE(lines.first(), QByteArray(pixels.width() * (arguments.contains("--single") ? 1 : 2), '0'));
    }

    // cat.bmp through the replacements (green as red, red as black) at quality 80: one run of black,
    // then blue and white; each row sets the background, each run its colour, characters in UTF-8.
    // Colours from the 256-colour palette or the 16 basic colours when asked for, or on a terminal
    // that does not say it takes 24 bits; the size asked for holds there.
    void terminalFormats_data()
    {
        // format: and --color-depth
        // terminal: as runOnTerminal() takes; empty: a pipe
        const auto row = columns<QString, QByteArray, QString>({"format", "page", "terminal"});
        const QByteArray palette("\x1b[48;5;231m\x1b[38;5;16mx&\xC3\x84x\x1b[0m\n"
                                 "\x1b[48;5;231m\x1b[38;5;21m&\xC3\x84\x1b[38;5;231mx&\x1b[0m\n");
        const QByteArray full("\x1b[48;2;255;255;255m\x1b[38;2;0;0;0mx&\xC3\x84x\x1b[0m\n"
                              "\x1b[48;2;255;255;255m\x1b[38;2;0;0;255m&\xC3\x84\x1b[38;2;255;255;255mx&\x1b[0m\n");
        row("ansi", "ansi", full, QString());
        row("text", "text", QByteArray("x&\xC3\x84x\n&\xC3\x84x&\n"), QString());
        row("ansi in 256 colours", "ansi --color-depth 8", palette, QString());
        row("ansi in 16 colours", "ansi --color-depth 4",
            QByteArray("\x1b[107m\x1b[30mx&\xC3\x84x\x1b[0m\n"
                       "\x1b[107m\x1b[34m&\xC3\x84\x1b[97mx&\x1b[0m\n"),
            QString());
        row("ansi in 16 colours: neighbours shown alike are one run",
            "ansi --color-depth 4 --replace=16777215>13107200",
            QByteArray("\x1b[107m\x1b[30mx&\xC3\x84x\x1b[0m\n\x1b[107m\x1b[34m&\xC3\x84x&\x1b[0m\n"), QString());
        row("ansi on a terminal", "ansi", palette, "80x24 COLORTERM=xterm");
        row("ansi on a terminal of 24 bits", "ansi", full, "80x24 COLORTERM=24bit");
        row("text has no colours to fill", "text --fill", QByteArray("x&\xC3\x84x\n&\xC3\x84x&\n"), QString());
        row("ansi, filled: each run sets both colours", "ansi --fill",
            QByteArray(
                "\x1b[48;2;0;0;0m\x1b[38;2;51;51;51mx&\xC3\x84x\x1b[0m\n\x1b[48;2;0;0;255m\x1b[38;2;51;51;255m&\xC3\x84"
                "\x1b[48;2;255;255;255m\x1b[38;2;204;204;204mx&\x1b[0m\n"),
            QString());
        // An HTML5 page in UTF-8: runs in styled elements, each pixel a square cell 12 pixels high.
        row("html, filled, square", "html --fill --square",
            QByteArray("<!DOCTYPE html><html><head><meta charset=utf-8><title>Orvanta @ Lumirune</title><style>body{"
                       "margin:0;background:#FFFFFF}body,pre{margin:0;font:10px/12px monospace;letter-spacing:calc(6px "
                       "- 1ch);white-space:nowrap}b{font-weight:normal}b{padding:.2em 0}</style></head><body>\r\n"
                       "<pre><b style=color:#333333;background:#000000>x&amp;\xC3\x84x</b><br><b style=color:#3333FF;"
                       "background:#0000FF>&amp;\xC3\x84</b><b style=color:#CCCCCC;background:#FFFFFF>x&amp;</b><br>"
                       "</pre><b style=color:#FFFFFF>Orvanta @ Lumirune</b></body></html>\r\n"),
            QString());
    }

    void terminalFormats()
    {
        QFETCH(QString, format);
        QFETCH(QString, terminal);
        const QStringList arguments =
            QStringList{"--format"} + format.split(' ') +
            QStringList{"--sequential", "--message", "x&Ä",         "--size",    "2x2",     "--area",
                        "0 0 2 2",      "--replace", "65280 > 255", "--replace", "255 > 0", "--background",
                        "white",        "--quality", "80",          "-o",        "-",       "cat.bmp"};
        // A run that fails gives "failed" on a pipe as on a terminal.
        QTEST(terminal.isEmpty() ? (run(arguments) == 0 ? m_process.readAllStandardOutput() : QByteArray("failed"))
                                 : runOnTerminal(arguments, terminal),
              "page");
    }

    // Pictures converted two at a time speak in the order given, as they would one at a time; the
    // damaged and the missing one fail alone, leaving no page; pictures named alike get distinct pages,
    // numbered in the order given even when the first takes longest to read, and every conversion is
    // seeded alike.
    void parallelBatchSpeaksInOrder()
    {
        QVERIFY(QFile::copy(QString(TEST_DATA_DIR) + "/pictures/text.bmp", m_dir->filePath("broken.jpg")));
        makePicture("cat.png", 4000, 3000);
        makePicture("a.png", 300, 300);
        const QStringList pictures{"cat.png", "broken.jpg", "missing.gif", "cat.bmp", "a.png", "cat.bmp"};
        QByteArray outputs[2], pages[2];
        for (int jobs : {1, 2}) {
            QCOMPARE(run(QStringList{"-j", QString::number(jobs), "--seed", "3"} + pictures), 1);
            outputs[jobs - 1] = m_process.readAllStandardOutput();
            const QString err = m_process.readAllStandardError();
            QVERIFY2(err.startsWith("lumirune-convert: broken.jpg: not a readable picture") && err.count('\n') == 2 &&
                         err.section('\n', 1).startsWith("lumirune-convert: missing.gif: "),
                     qPrintable(err));
            QCOMPARE(files().filter(".htm"), (QStringList{"a1.htm", "cat1.htm", "cat2.htm", "cat3.htm"}));
            QCOMPARE(read("cat3.htm"), read("cat2.htm"));
            pages[jobs - 1] = read("cat1.htm");
            for (const QString &page : files().filter(".htm"))
                QVERIFY(QFile::remove(m_dir->filePath(page)));
        }
        QCOMPARE(outputs[0], "cat1.htm\ncat2.htm\na1.htm\ncat3.htm\n");
        QCOMPARE(outputs[1], outputs[0]);
        QCOMPARE(pages[1], pages[0]);
    }

    // -V prints the version; the manual and --help name the same options, which the shells complete.
    void versionAndManualAgreeWithHelp()
    {
        QCOMPARE(run({"-V"}), 0);
        QVERIFY(QRegularExpression("^lumirune-convert \\d+\\.\\d+(\\.\\d+)?\n$")
                    .match(m_process.readAllStandardOutput())
                    .hasMatch());
        QCOMPARE(run({"--help"}), 0);
        const QString help = m_process.readAllStandardOutput();
        const QString roff = QString::fromUtf8(readAll(MANUAL_PAGE)).replace("\\-", "-");
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
            const QString text = readAll(QString(COMPLETIONS_DIR) + "/" + path);
            for (const QString &option : options(help).filter("--"))
                QVERIFY2(text.contains(option) || text.contains("-l " + option.mid(2) + " "),
                         qPrintable(path + (" " + option)));
        }
    }

    // Each picture named after cat.bmp: refused with what is wrong, without blocking on a special
    // file, and the batch goes on to convert cat.bmp; or converted by the bytes of its name.
    void pictures_data()
    {
        // made: what is there before the run
        // mentions: empty: converted
        const auto row = columns<QByteArray, QString, QString>({"picture", "made", "mentions"});
        row("a folder", "folder.gif", "folder.gif", "folder.gif: is a folder");
        row("a FIFO", "fifo.gif", "fifo.gif", "fifo.gif: is not a regular file");
        row("/dev/stdin, standard input", "/dev/stdin", "", "");
        row("standard input through a link into /dev", "dev/stdin", "dev", "not a picture in a folder");
        row("missing, though a name with a suffix added exists", "gone.jpg", "gone.jpg.png",
            "gone.jpg: No such file or directory");
        row("unreadable to its user", "locked.gif", "locked.gif", "locked.gif: Permission denied");
        row("a file name under four characters", "x.g", "x.g", "x.g\": shorter than four characters");
        // QDir lists no name it cannot decode; the page is looked for by its bytes.
        row("a name that is not UTF-8", "\xff\xfe.bmp", "", "");
        row("a name that would retitle the terminal", "\x1b]0;x\x07.gif", "",
            "$'\\033'']0;x'$'\\007''.gif': No such file or directory");
    }

    void pictures()
    {
        QFETCH(QByteArray, picture);
        QFETCH(QString, made);
        QFETCH(QString, mentions);
        make(made);
        const bool bytes = picture.startsWith('\xff');
        QStringList expected = files() << "cat1.htm";
        expected.sort();
        // The converter's standard input is a pipe holding the picture, as for "cat cat.bmp | ...". The
        // shell makes and passes the name's bytes (printf makes those that are not UTF-8), which QProcess
        // would take as text.
        const QString name = bytes ? "\"$(printf '\\377\\376.bmp')\"" : "\"$1\"";
        const int status =
            run({"-c", (bytes ? "cp cat.bmp " + name + " && " : QString()) + "exec \"$0\" " + name + " cat.bmp",
                 CONVERT_EXE, QString(picture)},
                "/bin/sh", read("cat.bmp"));
        if (status == 77) QSKIP("cannot run the converter as the user nobody here");
        QVERIFY2(status >= 0, "the converter blocked");
        const QString err = m_process.readAllStandardError();
        QCOMPARE(status, mentions.isEmpty() ? 0 : 1);
        QVERIFY2(err.contains(mentions), qPrintable(err));
        QCOMPARE(files(), expected);
        const QByteArray dir = QFile::encodeName(m_dir->path()) + '/';
        if (bytes) // the page, found by its bytes; both go, as QTemporaryDir cannot remove such names
            QVERIFY(::unlink(dir + "\xff\xfe"
                                   "1.htm") == 0 &&
                    ::unlink(dir + picture) == 0);
    }

    // Ten converters started at once on one picture: ten distinct pages, each whole and alike; or all
    // replacing one -o page, which ends up whole, as one of them wrote it. The engine's forked claim
    // test is the sharper probe of the race; this one proves the program uses it.
    void tenConvertersAtOnce_data()
    {
        const auto row = columns<QStringList>({"output"});
        row("beside the picture", {});
        row("-o one page", {"-o", "cat1.htm"});
    }

    void tenConvertersAtOnce()
    {
        QFETCH(QStringList, output);
        std::vector<std::unique_ptr<QProcess>> converters;
        for (int i = 0; i < 10; ++i) {
            converters.push_back(std::make_unique<QProcess>());
            converters.back()->setWorkingDirectory(m_dir->path());
            // Replacing one page, each writes one of its own size, so that a mixture would show.
            const QStringList width{"--width", QString::number(200 + 100 * i)};
            converters.back()->start(CONVERT_EXE, QStringList{"--seed", "9", "cat.bmp"} + output +
                                                      (output.isEmpty() ? QStringList() : width));
        }
        QStringList named{"cat.bmp"}; // the picture and what each converter said it wrote
        for (const auto &converter : converters) {
            QVERIFY(converter->waitForFinished(30000) && converter->exitCode() == 0);
            named << QString(converter->readAllStandardOutput()).trimmed();
        }
        named.sort();
        named.removeDuplicates();
        QCOMPARE(files(), named); // so no two said the same name, and nothing else is left
        QCOMPARE(named.size(), output.isEmpty() ? 11 : 2);
        const QByteArray first = read("cat1.htm");
        QVERIFY(first.endsWith("</font></body></html>\r\n") && first.count("<html>") == 1 &&
                first.count("</html>") == 1);
        for (const QString &page : named.mid(1))
            QCOMPARE(read(page), first);
    }

    // With standard output or error closed, no page takes its descriptor, so nothing meant for it (page
    // names, messages) lands in a page.
    void closedStandardStreams_data()
    {
        const auto row = columns<int>({"closed"});
        row("standard output", STDOUT_FILENO);
        row("standard error", STDERR_FILENO);
    }

    void closedStandardStreams()
    {
        QFETCH(int, closed);
        m_process.setChildProcessModifier([closed] { ::close(closed); });
        QStringList pictures;
        for (int i = 0; i < 12; ++i)
            pictures << "cat.bmp"
                     << "missing.gif";
        QCOMPARE(run(QStringList{"-j", "2"} + pictures), 1);
        const QStringList pages = files().filter(".htm");
        QCOMPARE(pages.size(), 12);
        for (const QString &page : pages)
            QVERIFY2(read(page).endsWith("</html>\r\n") && read(page).count("<html>") == 1 &&
                         !read(page).contains("lumirune-convert:") && !read(page).contains(".htm\n"),
                     qPrintable(page));
    }

    // A batch ended by a signal leaves whole pages only, under page names: the one being written goes
    // with its name. The status tells of the signal.
    void interruptedBatch_data()
    {
        const auto row = columns<int>({"signal"});
        row("SIGINT", SIGINT);
        row("SIGTERM", SIGTERM);
        row("SIGHUP", SIGHUP);
    }

    void interruptedBatch()
    {
        QFETCH(int, signal);
        QStringList pictures;
        for (int i = 0; i < 40; ++i)
            pictures << "cat.bmp";
        m_process.setWorkingDirectory(m_dir->path());
        m_process.start(CONVERT_EXE, QStringList{"-j", "2", "--size", "1500x1500"} + pictures);
        QVERIFY(m_process.waitForReadyRead(10000)); // the first page is whole; others are being written
        QTest::qWait(30);
        ::kill(pid_t(m_process.processId()), signal);
        QVERIFY(m_process.waitForFinished(10000));
        QCOMPARE(m_process.exitStatus(), QProcess::CrashExit);
        const QStringList left = files();
        QVERIFY2(left.size() < 41, qPrintable(left.join(" "))); // it did stop
        // Not even a name claimed in the instant the signal came stays behind.
        for (const QString &page : left.filter(".htm"))
            QVERIFY2(read(page).endsWith("</html>\r\n"), qPrintable(page));
        QVERIFY2(left.filter(".part").isEmpty(), qPrintable(left.join(" ")));
    }

private:
    // Runs the converter in the test folder, with input (unless null) on its standard input; returns its
    // exit status, or -1 if it did not end by itself.
    int run(const QStringList &arguments, const QString &program = CONVERT_EXE, const QByteArray &input = {})
    {
        m_process.setWorkingDirectory(m_dir->path());
        m_process.start(program, arguments);
        if (!input.isNull() && m_process.waitForStarted()) {
            m_process.write(input);
            m_process.closeWriteChannel();
        }
        const bool ended = m_process.waitForFinished(10000) && m_process.exitStatus() == QProcess::NormalExit;
        return ended ? m_process.exitCode() : -1;
    }
    // Runs the converter with its standard output on a terminal: "WxH" (0x0 does not know its size)
    // or "pipe", then settings of COLUMNS, LINES and COLORTERM, which are otherwise unset. Returns
    // what the terminal received, byte for byte.
    QByteArray runOnTerminal(const QStringList &arguments, const QString &terminal)
    {
        const QStringList words = terminal.split(' ');
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"COLUMNS", "LINES", "COLORTERM"})
            environment.remove(name);
        for (const QString &setting : words.mid(1))
            environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
        m_process.setProcessEnvironment(environment);
        QString command = "stty raw cols " + words[0].section('x', 0, 0) + " rows " + words[0].section('x', 1) +
                          " && exec " CONVERT_EXE;
        for (QString argument : arguments)
            command += " '" + argument.replace("'", "'\\''") + "'";
        const int status = words[0] == "pipe" ? run(arguments) : run({"-qec", command, "/dev/null"}, "script");
        return status == 0 ? m_process.readAllStandardOutput() : "failed";
    }
    QByteArray read(const QString &name) const
    {
        return readAll(m_dir->filePath(name));
    }
    // The test folder's entries by name, with their sizes if asked.
    QStringList files(bool sizes = false) const
    {
        QStringList names;
        for (const QFileInfo &entry :
             QDir(m_dir->path()).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
            names << entry.fileName() + (sizes ? " " + QString::number(entry.size()) : QString());
        return names;
    }
    // A picture of one colour in the test folder.
    void makePicture(const QString &name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(m_dir->filePath(name)));
    }
    // Makes in the test folder what a row's file name stands for; other names are left alone.
    void make(const QString &name)
    {
        const QString path = m_dir->filePath(name);
        if (name == "folder.gif") QVERIFY(QDir(m_dir->path()).mkdir(name));
        if (name.startsWith("fifo.")) QCOMPARE(::mkfifo(QFile::encodeName(path), 0644), 0);
        if (name == "gone.jpg.png" || name == "x.g" || name == "locked.gif")
            QVERIFY(QFile::copy(m_dir->filePath("cat.bmp"), path));
        if (name == "locked.gif") QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner) && runAsOrdinaryUser());
        if (name == "notes.txt")
            QVERIFY(writeFile(path, "my notes") &&
                    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther) &&
                    runAsOrdinaryUser());
        if (name == "sleeper") {
            QVERIFY(QFile::copy("/bin/sleep", path));
            m_sleeper.start(path, {"30"});
            QVERIFY(m_sleeper.waitForStarted());
        }
        if (name == "page.htm")
            QVERIFY(QFile::link("elsewhere/planted.txt", path) && QDir(m_dir->path()).mkdir("elsewhere"));
        if (name == "full.htm") QVERIFY(QFile::link("/dev/full", path));
        if (name == "old.htm") QVERIFY(writeFile(path, "my old page"));
        if (name == "dev") QVERIFY(QFile::link("/dev", path));
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
    QProcess m_sleeper; // a running program named as the output
};

QTEST_MAIN(TestConvertCli)
#include "tst_convertcli.moc"
