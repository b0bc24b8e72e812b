// SPDX-License-Identifier: MIT
// The engine: rules for single values (colour codes, the page name beside a picture, message
// characters), then the scan and the page it writes.
#include "engine/colorcode.h"
#include "engine/colordepth.h"
#include "engine/failure.h"
#include "engine/messagetext.h"
#include "engine/numbers.h"
#include "engine/outputname.h"
#include "engine/pagefile.h"
#include "engine/renderarea.h"
#include "engine/scan.h"
#include "engine/terminaltext.h"
#include "support/files.h"
#include "support/table.h"

#include <QtTest>

#include <clocale>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Grid = QList<QList<int>>; // rows of 0x00BBGGRR values

constexpr int kRed = 0x0000FF;
constexpr int kGreen = 0x00FF00;

const QByteArray kCredit = "<font color=#FFFFFF>Orvanta @ Lumirune</font></font></body></html>\r\n";

// A picture at the top left of the drawing area.
struct GridSource : engine::PixelSource
{
    explicit GridSource(Grid rows) : rows(std::move(rows)) {}
    int32_t pixel(int x, int y) override { return rows.value(y).value(x, -1); }
    Grid rows;
};

// Calls back where the scan lets events through, as a window's STOP click would arrive.
struct Host : engine::ScanHost
{
    void processEvents() override { onEvents(++calls); }
    int calls = 0;
    std::function<void(int call)> onEvents = [](int) {};
};

// Puts an entry of the kind at path: a copy of other, a folder, a link to other or a FIFO.
void make(const QString &kind, const QString &path, const QString &other)
{
    if (kind == "file") QVERIFY(QFile::copy(other, path));
    if (kind == "folder") QVERIFY(QDir().mkdir(path));
    if (kind == "link") QVERIFY(QFile::link(other, path));
    if (kind == "FIFO") QCOMPARE(::mkfifo(QFile::encodeName(path), 0644), 0);
    if (kind == "picture gone") QVERIFY(QFile::remove(other) && QFile(path).open(QIODevice::WriteOnly));
}

// A small area with the message taken in order, so pages are predictable.
engine::ScanSettings smallScan(int width, int height, const std::string &message = "AB")
{
    engine::ScanSettings s;
    s.area = {0, 0, int16_t(width), int16_t(height)};
    s.pixelCount = width * height;
    s.message = message;
    s.randomOrder = false;
    s.twoCharsPerPixel = false;
    s.eventInterval = std::chrono::nanoseconds(0);
    return s;
}

// The body between "<pre>" and "</pre>".
QByteArray body(const QByteArray &page)
{
    const int start = page.indexOf("<pre>") + 5;
    return page.mid(start, page.indexOf("</pre>") - start);
}

// Runs run; the failure it met as "number: text", or nothing.
QString failureOf(const std::function<void()> &run)
{
    try {
        run();
    } catch (const engine::Failure &failure) {
        return QString::number(failure.number()) + ": " + failure.what();
    }
    return {};
}

} // namespace

// A disk that fills up, made without privileges: past the file size limit write() fails with EFBIG
// (SIGXFSZ ignored), after writing what fits.
struct FileSizeLimit
{
    rlimit previous{};
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        const rlimit limit{bytes, previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &previous); }
};

class TestEngine : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY((m_dir = std::make_unique<QTemporaryDir>())->isValid()); }

    // Pixels through one encoder: the hex text after each, and the channel values after the last.
    // The band rule on longer runs is checked against a direct working by the colour-code fuzz target.
    void encode_data()
    {
        const auto row = columns<int, QList<int>, QStringList, QString>({"quality", "colors", "hex", "rgb"});
        row("all three channels", 100, {1193046}, {"563412"}, "865218");
        row("rgb pads a non-zero single digit", 100, {13107205}, {"0500C8"}, "0500200");
        // Out-of-range colours are taken modulo 2^24 rather than refused.
        row("-1, an unreadable point, is white", 100, {-1}, {"FFFFFF"}, "255255255");
        row("quality 100 gives every change", 100, {1, 2, 2, 1}, {"010000", "020000", "020000", "010000"}, "010000");

        // The band is +-5 at quality 90: a drift of exactly 5 holds, 6 breaks, on either side.
        row("band edges", 90, {100, 105, 101, 96, 100}, {"640000", "640000", "650000", "650000", "640000"}, "1000000");
    }

    void encode()
    {
        QFETCH(int, quality);
        QFETCH(QList<int>, colors);
        engine::ColorEncoder encoder(quality);
        QStringList got;
        for (int color : colors) {
            encoder.ConvertRGB(color);
            got << QString::fromStdString(encoder.hexcolor());
        }
        QTEST(got, "hex");
        QTEST(QString::fromStdString(encoder.rgbText()), "rgb");
    }

    // A colour (0x00RRGGBB) as a terminal page sets it for characters and for cells, at each depth:
    // the palette's nearer of cube and grey ramp, the nearest of the 16 basic colours.
    void terminalColors_data()
    {
        // sequences: for characters, then for cells
        const auto row = columns<int, int, QByteArray>({"rgb", "depth", "sequences"});
        row("24 bits as they are", 0x0A14FF, 24, "\x1b[38;2;10;20;255m\x1b[48;2;10;20;255m");
        row("palette: red in the cube", 0xFF0000, 8, "\x1b[38;5;196m\x1b[48;5;196m");
        row("palette: mid grey on the ramp", 0x808080, 8, "\x1b[38;5;244m\x1b[48;5;244m");
        row("palette: a near grey nearer a cube colour", 0x5F8787, 8, "\x1b[38;5;66m\x1b[48;5;66m");
        row("palette: each channel to its nearest level", 0x2F7373, 8, "\x1b[38;5;30m\x1b[48;5;30m");
        row("basic: bright red", 0xFF0000, 4, "\x1b[91m\x1b[101m");
        row("basic: light grey", 0xE0E0E0, 4, "\x1b[37m\x1b[47m");
        row("basic: mid grey is bright black", 0x808080, 4, "\x1b[90m\x1b[100m");
    }

    void terminalColors()
    {
        QFETCH(int, rgb);
        QFETCH(int, depth);
        char out[2 * engine::kLongestAnsiColor];
        const auto colorDepth = engine::ColorDepth(depth);
        const char *end = engine::writeAnsiBackground(engine::writeAnsiForeground(out, uint32_t(rgb), colorDepth),
                                                      uint32_t(rgb), colorDepth);
        QTEST(QByteArray(out, end - out), "sequences");
    }

    void outputNames_data()
    {
        // name: empty: no free name
        const auto row = columns<QString, QStringList, QString>({"t", "existing", "name"});
        row("first free after 1 to 3", "/p/cat.bmp", {"/p/cat.bmp", "/p/cat1.htm", "/p/cat2.htm", "/p/cat3.htm"},
            "/p/cat4.htm");
        row("a gap is reused", "/p/cat.bmp", {"/p/cat.bmp", "/p/cat2.htm"}, "/p/cat1.htm");
        row("four characters go whatever they are", "/p/cat.jpeg", {"/p/cat.jpeg"}, "/p/cat.1.htm");
        row("no such file: used as it is", "/p/gone.bmp", {}, "/p/gone.bmp");
        row("characters, not bytes", "/p/kött.åäö", {"/p/kött.åäö"}, "/p/kött1.htm");
        QStringList taken{"/p/cat.bmp"};
        for (int n = 1; n <= 99; ++n)
            taken << QString("/p/cat%1.htm").arg(n);
        row("100 is the last number", "/p/cat.bmp", taken, "/p/cat100.htm");
        row("all hundred taken", "/p/cat.bmp", taken << "/p/cat100.htm", "");
        row("four characters after a folder", "/p/sub/x.gi", {"/p/sub/x.gi"}, "/p/sub/1.htm");
    }

    void outputNames()
    {
        QFETCH(QString, t);
        QFETCH(QStringList, existing);
        const auto free = engine::nextFreeOutputName(
            t.toStdString(), [&](const std::string &p) { return existing.contains(QString::fromStdString(p)); });
        QTEST(free ? QString::fromStdString(*free) : QString(), "name");
    }

    // Names and text from outside on their way to a terminal: what could move the cursor, retitle or
    // clear the window, forge or reorder lines is escaped; everything else passes as it is.
    void terminalText_data()
    {
        // name: as shellQuoted() gives it
        // free: as escapedText() gives it
        const auto row = columns<QByteArray, QByteArray, QByteArray>({"text", "name", "free"});
        row("plain, with spaces and a quote", "my cat's.jpg", "my cat's.jpg", "my cat's.jpg");
        row("letters of any script", "kött ✓ 猫.png", "kött ✓ 猫.png", "kött ✓ 猫.png");
        row("a title set by escape", "\x1b]0;owned\x07.jpg", "$'\\033'']0;owned'$'\\007''.jpg'",
            "\\033]0;owned\\007.jpg");
        row("a forged line", "a.jpg\nlumirune-convert: b", "'a.jpg'$'\\n''lumirune-convert: b'",
            "a.jpg\\nlumirune-convert: b");
        row("carriage return and a quote", "it's\r", "'it'\\''s'$'\\r'", "it's\\r");
        row("right-to-left override",
            "gpj.\xE2\x80\xAE"
            "cat",
            "'gpj.'$'\\342'$'\\200'$'\\256''cat'", "gpj.\\342\\200\\256cat");
        row("C1 control and a byte that is not UTF-8",
            "\xC2\x9B"
            "2J\xFF",
            "$'\\302'$'\\233''2J'$'\\377'", "\\302\\2332J\\377");
        row("an overlong slash", "\xC0\xAF", "$'\\300'$'\\257'", "\\300\\257");
    }

    void terminalText()
    {
        QFETCH(QByteArray, text);
        QTEST(QByteArray::fromStdString(engine::shellQuoted(text.toStdString())), "name");
        QTEST(QByteArray::fromStdString(engine::escapedText(text.toStdString())), "free");
    }

    void messageCharacters_data()
    {
        // firstRefused: -1: all allowed
        const auto row = columns<QString, int, QByteArray>({"message", "firstRefused", "written"});
        row("lower case passes the upper-cased check", "abcxyz", -1, QByteArray("abcxyz"));
        row("Nordic letters of both cases, one byte each", QString::fromUtf8("åäöÅÄÖ"), -1,
            QByteArray("\xE5\xE4\xF6\xC5\xC4\xD6"));
        row("a space", "hello world", 5, QByteArray());
        // Upper-casing must not turn these into allowed letters: ß gives SS and ı gives I elsewhere.
        row("sharp s", QString::fromUtf8("aß"), 1, QByteArray());
        row("dotless i", QString::fromUtf8("ı"), 0, QByteArray());
    }

    void messageCharacters()
    {
        QFETCH(QString, message);
        const auto refused = engine::firstDisallowedChar(message.toStdU32String());
        QTEST(refused ? int(*refused) : -1, "firstRefused");
        if (!refused) QTEST(QByteArray::fromStdString(engine::toAnsi(message.toStdU32String())), "written");
    }

    // Ignore-list entries, in list order, on one pixel through the scan. How entries match (order,
    // malformed entries, colours compared as text) is checked against plain text matching by the
    // replacement fuzz target, whose seeds hold those cases.
    void replacements_data()
    {
        const auto row = columns<QStringList, int, QByteArray>({"entries", "pixel", "hex"});
        row("entries chain in list order", {"255 > 65280", "65280 > 0"}, kRed, "000000");
        row("an unreadable point can be replaced", {"-1 > 255"}, -1, "FF0000");
        row("text replacement that reads as a number", {"255 > 007"}, kRed, "070000");
    }

    void replacements()
    {
        QFETCH(QStringList, entries);
        QFETCH(int, pixel);
        QFETCH(QByteArray, hex);
        engine::ScanSettings s = smallScan(1, 1, "A");
        for (const QString &entry : entries)
            s.replacements.push_back(entry.toStdString());
        GridSource pixels(Grid{{pixel}});
        QCOMPARE(body(convert(s, pixels)), "<font color=#" + hex + ">A</font><br>");
    }

    void randomCharactersAreSeededOncePerConversion()
    {
        GridSource pixels(Grid(20, QList<int>(20, 0)));
        engine::ScanSettings s = smallScan(20, 20, "XYZ");
        s.randomOrder = true;
        s.twoCharsPerPixel = true;
        s.seed = 42;
        const QByteArray chars = body(convert(s, pixels)); // markup holds none of X, Y and Z
        QCOMPARE(chars.count('X') + chars.count('Y') + chars.count('Z'), 800);
        for (char c : {'X', 'Y', 'Z'}) {
            // Each of three characters drawn uniformly: 800 / 3 = 267, far from 150 or 380.
            QVERIFY2(chars.count(c) > 150 && chars.count(c) < 380,
                     qPrintable(QString("%1: %2").arg(c).arg(chars.count(c))));
            // Seeding per pixel repeated characters in long stretches; a uniform draw rarely does.
            QVERIFY(!chars.contains(QByteArray(12, c)));
        }
        QCOMPARE(body(convert(s, pixels)), chars);
        s.seed = 43;
        QVERIFY(body(convert(s, pixels)) != chars);
    }

    // While the scan runs alone the page stays open; one removed then takes what was written with it,
    // which is reported rather than lost in silence.
    void pageRemovedWhileOpenFails()
    {
        struct RemovingSource : GridSource
        {
            using GridSource::GridSource;
            int32_t pixel(int x, int y) override
            {
                if (y == 200 && x == 0) QFile::remove(page);
                return GridSource::pixel(x, y);
            }
            QString page;
        } pixels(Grid(300, QList<int>(300, 0)));
        for (QList<int> &row : pixels.rows)
            for (int x = 0; x < 300; x += 2)
                row[x] = kRed; // a run per pixel: the buffer fills and is written before row 200
        pixels.page = page();
        engine::ScanSettings s = smallScan(300, 300, std::string(8, '&'));
        s.eventInterval = std::chrono::hours(1);
        const QString failure = failureOf([&] { convert(s, pixels); });
        QVERIFY2(failure.contains("removed while it was written"), qPrintable(failure));
    }

    // A name in use in any form is taken: the next number is claimed and nothing is written through a
    // link. Only names this run claimed are created.
    void takenNamesAreLeftAlone_data()
    {
        // other: what a file copies or a link points to
        const auto row = columns<QString, QString>({"kind", "other"});
        row("file", "file", "cat.bmp");
        row("folder", "folder", "");
        row("dangling link", "link", "elsewhere/planted.txt");
        row("link to /dev/null", "link", "/dev/null");
        row("FIFO", "FIFO", "");
        // Gone while it was converted: its own name is free, but a page never takes a picture's name.
        row("a file, and the picture gone", "picture gone", "cat.bmp");
    }

    void takenNamesAreLeftAlone()
    {
        QFETCH(QString, kind);
        QFETCH(QString, other);
        QVERIFY(QDir(m_dir->path()).mkdir("elsewhere") && QFile(m_dir->filePath("cat.bmp")).open(QIODevice::WriteOnly));
        make(kind, page(), other.startsWith('/') || other.isEmpty() ? other : m_dir->filePath(other));
        const QFileInfo before(page());
        std::optional<engine::PageFile> claimed = engine::claimNextFreePage(m_dir->filePath("cat.bmp").toStdString());
        QVERIFY(claimed && claimed->created());
        QCOMPARE(QString::fromStdString(claimed->path()), m_dir->filePath("cat2.htm"));
        QVERIFY(!QFile::exists(m_dir->filePath("elsewhere/planted.txt")));
        const QFileInfo after(page());
        QVERIFY(after.isSymLink() == before.isSymLink() && after.isDir() == before.isDir() &&
                after.size() == before.size());
    }

    // While events run the page's name is freed or given to something else. A removed page is written
    // again by name from the next piece on, as a writer opening it per piece would; given to something
    // else, the writer fails instead of writing there, and leaves it as it is.
    void pageNameTakenDuringEvents_data()
    {
        // replacement: empty: none
        // reason: empty: the page is written
        const auto row = columns<QString, QString>({"replacement", "reason"});
        row("removed", QString(), QString());
        row("another file", "file", "no longer the page this conversion created");
        row("a link to another file", "link", "is a symbolic link");
        row("a FIFO", "FIFO", "is not a regular file");
    }

    void pageNameTakenDuringEvents()
    {
        QFETCH(QString, replacement);
        QFETCH(QString, reason);
        const QString other = m_dir->filePath("other.txt");
        QVERIFY(writeFile(other, "mine"));
        GridSource pixels({{0, 0, 0}});
        QByteArray written;
        const QString failure = failureOf([&] {
            written = convert(smallScan(3, 1), pixels, [&](int call) {
                if (call != 1) return;
                QFile::remove(page());
                if (!replacement.isEmpty()) make(replacement, page(), other);
            });
        });
        QCOMPARE(QFileInfo(other).size(), 4);
        if (reason.isEmpty()) {
            QCOMPARE(failure, QString());
            QCOMPARE(written, "BA</font><br></pre>" + kCredit);
        } else {
            QVERIFY2(failure.startsWith("75: ") && failure.contains(reason), qPrintable(failure));
            QCOMPARE(QFileInfo(page()).size(), replacement == "FIFO" ? 0 : 4);
        }
    }

    // Ten processes, as many windows or batches would be, convert one picture at once, letting events
    // through after every pixel: ten distinct pages, each whole and alike.
    void concurrentConversionsTakeDistinctPages()
    {
        const std::string picture = m_dir->filePath("cat.bmp").toStdString();
        QVERIFY(QFile(m_dir->filePath("cat.bmp")).open(QIODevice::WriteOnly));
        GridSource pixels(Grid(20, QList<int>(20, kRed)));
        std::vector<pid_t> children;
        int gate[2]; // closed by the parent once all are forked, so that all claim at the same moment
        QVERIFY(::pipe(gate) == 0);
        for (int i = 0; i < 10; ++i) {
            const pid_t child = ::fork();
            if (child == 0) {
                char none;
                ::close(gate[1]);
                while (::read(gate[0], &none, 1) < 0 && errno == EINTR) {
                }
                try {
                    convert(smallScan(20, 20), pixels, {}, picture);
                    ::_exit(0);
                } catch (...) { // none free: bad_optional_access
                }
                ::_exit(1);
            }
            QVERIFY(child > 0);
            children.push_back(child);
        }
        ::close(gate[0]);
        ::close(gate[1]);
        for (pid_t child : children) {
            int status = 0;
            QVERIFY(::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const QByteArray expected = convert(smallScan(20, 20), pixels); // cat1.htm again, alone
        QCOMPARE(QDir(m_dir->path()).entryList({"*.htm"}, QDir::Files).size(), 10);
        for (int n = 2; n <= 10; ++n)
            QCOMPARE(readAll(m_dir->filePath(QString("cat%1.htm").arg(n))), expected);
    }

    // A disk that fills up: the page keeps every whole piece that fits and nothing of the next, the
    // longest prefix of the complete page that ends on a piece end. Pieces written together (the first
    // pixel alone, then all the others) are cut back to the last whole one, and the progress shows the
    // first pixel that did not reach the disk, not where the scan got to. A page larger than the buffer
    // is written in parts that end on round offsets, the piece across such an offset finished by the
    // next write: the disk fills there exactly or a byte either side.
    void fullDiskKeepsEveryWholePiece_data()
    {
        const auto row = columns<Grid, bool>({"pixels", "atBounds"}); // else the disk fills at every size
        row("a small page", {{kRed, kRed, kGreen, kGreen}, {kRed, kGreen, kGreen, 0}, {0, 0, kRed, kRed}}, false);
        Grid rows(200, QList<int>(200));
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                rows[y][x] = (x * 7 + y) % 256 | (x + y) % 256 << 8 | (x ^ y) << 16; // a run per pixel
        row("a page of many buffers", rows, true);
    }

    void fullDiskKeepsEveryWholePiece()
    {
        QFETCH(Grid, pixels);
        QFETCH(bool, atBounds);
        GridSource source(pixels);
        const int width = int(pixels[0].size());
        engine::ScanSettings s = smallScan(width, int(pixels.size()), "&"); // every piece has an inside
        s.eventInterval = std::chrono::hours(1);
        const QByteArray complete = convert(s, source);
        QList<qsizetype> ends{0}; // a piece ends after the head, a row end, or a character inside its row
        const QRegularExpression pieceEnd("<pre>|&amp;(?!</font><br>)|<br>");
        for (QRegularExpressionMatchIterator found = pieceEnd.globalMatch(complete); found.hasNext();)
            ends << found.next().capturedEnd();
        QList<qint64> limits;
        for (qint64 limit = 0; !atBounds && limit < complete.size(); ++limit)
            limits << limit;
        for (qint64 bound = 65536; atBounds && bound < complete.size(); bound += 65536)
            limits << bound - 1 << bound << bound + 1;
        QVERIFY(atBounds == (complete.size() > 1000000)); // a few buffers' worth
        for (const qint64 limit : limits) {
            const QString failure = failureOf([&] {
                FileSizeLimit full(limit);
                convert(s, source);
            });
            QVERIFY2(failure.startsWith("75: ") && failure.endsWith("File too large"), qPrintable(failure));
            const auto kept = std::prev(std::upper_bound(ends.begin(), ends.end(), limit));
            QCOMPARE(readAll(page()), complete.left(*kept));
            // The pieces after the head are the pixels on disk; once all are, the progress shows the last.
            const qsizetype lost = kept - ends.begin() - 1, shown = std::min(lost, width * pixels.size() - 1);
            const int bgr = lost < 0 ? 0 : pixels.at(shown / width).at(shown % width);
            const engine::ScanProgress at = m_conversion->progress();
            QCOMPARE(QString::number(at.linesDone) + " " +
                         (at.encoded ? QString::fromStdString(engine::hexText(at.rgb)) : QString("-")),
                     QString::number(lost / width) + " " +
                         (lost < 0 ? "-" : QString::asprintf("%02X%02X%02X", bgr & 0xFF, bgr >> 8 & 0xFF, bgr >> 16)));
            QCOMPARE(at.pixelsDone, width * at.linesDone);
        }
    }

    // The window runs in the user's locale; a decimal comma there must not cut "11.5" to 11.
    void numbersReadTheSameInAnyLocale()
    {
        QTemporaryDir locales;
        const QString german = locales.filePath("de_DE.UTF-8");
        if (QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", german}) != 0)
            QSKIP("localedef cannot make a German locale here (Debian package: locales)");
        qputenv("LOCPATH", locales.path().toLocal8Bit());
        QVERIFY(std::setlocale(LC_ALL, "de_DE.UTF-8"));
        const QString read = QString("%1 %2 %3 %4 %5")
                                 .arg(engine::toInt16("11.5", "test"))
                                 .arg(QString::fromStdString(engine::shortestDecimal(10.5)))
                                 .arg(*engine::parseNumber(" +0.25 "))
                                 .arg(*engine::parseNumber("-0." + std::string(400, '0') + "1"))
                                 .arg(*engine::parseNumber(std::string(400, '9')));
        std::setlocale(LC_ALL, "C");
        QCOMPARE(read, "12 10.5 0.25 0 inf"); // hundreds of digits round as strtod rounds them
    }

    // One reader, two syntaxes: the window's code parts at single spaces, passes over a fifth field and
    // rounds "10.5"; the converter's --area forgives white space and takes four whole numbers only.
    // A refusal is the failure's number: 5 for the fields, 13 for a field that is no number, 6 for one
    // past 16 bits.
    void renderAreaCodes_data()
    {
        const auto row = columns<QString, QString>({"window", "option"}); // the code is the row's name
        row("10 20 30 40", "10 20 30 40", "10 20 30 40");
        row("+1 -2 3 4", "1 -2 3 4", "1 -2 3 4");
        row("-32768 0 0 32767", "-32768 0 0 32767", "-32768 0 0 32767");
        row("10  20 30 40", "failure 13", "10 20 30 40");
        row(" 10\t20 30 40\n", "failure 13", "10 20 30 40");
        row("10 20 30 40 x", "10 20 30 40", "failure 5");
        row("10.5 20 30 40", "10 20 30 40", "failure 13");
        row("1 2 3", "failure 5", "failure 5");
        row("", "failure 5", "failure 5");
        row("1 2 3 32768", "failure 6", "failure 6");
    }

    void renderAreaCodes()
    {
        const std::string code = QTest::currentDataTag();
        const auto read = [&](const engine::AreaSyntax &syntax) {
            engine::RenderArea a{};
            const QString failure = failureOf([&] { a = engine::readRenderArea(code, syntax); });
            return failure.isEmpty() ? QString("%1 %2 %3 %4").arg(a.x1).arg(a.y1).arg(a.x2).arg(a.y2)
                                     : "failure " + failure.section(':', 0, 0);
        };
        QTEST(read(engine::kAreaCode), "window");
        QTEST(read(engine::kAreaOption), "option");
    }

private:
    QString page() const { return m_dir->filePath("cat1.htm"); }
    // Converts into the page, or into the next free page beside picture where one is named; onEvents
    // runs wherever the scan lets events through.
    QByteArray convert(
        const engine::ScanSettings &settings, GridSource &pixels,
        const std::function<void(int call)> &onEvents = [](int) {}, const std::string &picture = {})
    {
        m_conversion = std::make_unique<engine::Conversion>(settings);
        Host host;
        if (onEvents) host.onEvents = onEvents;
        engine::PageFile claimed =
            picture.empty() ? engine::replacePage(page().toStdString()) : engine::claimNextFreePage(picture).value();
        m_conversion->startDocument(claimed);
        m_conversion->Loopconvert(pixels, host);
        return readAll(page());
    }
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<engine::Conversion> m_conversion; // the last one convert() ran
};

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
