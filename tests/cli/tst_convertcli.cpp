// SPDX-License-Identifier: MIT
// lumirune-convert end to end, on small pictures made here.
#include <QImage>
#include <QProcess>
#include <QtTest>

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

const QByteArray kHead = "<html><head><title>Orvanta @ Lumirune</title></head><body bgcolor=#000000><font size=1>\r\n";
const QByteArray kCredit = "<font color=#FFFFFF>Orvanta @ Lumirune</font></font></body></html>\r\n";

} // namespace

class TestConvertCli : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void convertsBesidePictureExactly();
    void readsEveryFormat_data();
    void readsEveryFormat();
    void transparentPartsShowWhite();
    void numbersFollowOnePictureAfterAnother();
    void damagedPictureIsReportedAndOthersStillConvert();
    void badOptions_data();
    void badOptions();
    void unwritableOutputIsReported();
    void seedRepeatsAndPresetsFill();
    void replaceAndPageOptions();

private:
    Run run(const QStringList &arguments);
    QString picture(const QString &name, const QImage &image);
    QStringList files() const { return QDir(m_dir->path()).entryList(QDir::Files, QDir::Name); }
    std::unique_ptr<QTemporaryDir> m_dir;
    QImage m_twoByTwo;
};

void TestConvertCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_twoByTwo = QImage(2, 2, QImage::Format_RGB32);
    m_twoByTwo.setPixel(0, 0, qRgb(255, 0, 0));
    m_twoByTwo.setPixel(1, 0, qRgb(0, 255, 0));
    m_twoByTwo.setPixel(0, 1, qRgb(0, 0, 255));
    m_twoByTwo.setPixel(1, 1, qRgb(255, 255, 255));
}

Run TestConvertCli::run(const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(m_dir->path());
    process.start(CONVERT_EXE, arguments);
    Run result;
    if (!process.waitForFinished(30000)) return result;
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

QString TestConvertCli::picture(const QString &name, const QImage &image)
{
    const QString path = m_dir->filePath(name);
    if (!image.save(path)) qWarning() << "could not save" << path;
    return path;
}

static QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestConvertCli::convertsBesidePictureExactly()
{
    const QString cat = picture("cat.bmp", m_twoByTwo);
    // One column and row beyond the picture: the white of the picture box.
    const Run r = run({"--sequential", "--single", "--message", "AB", "--area", "0 0 3 2", cat});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, m_dir->filePath("cat1.htm") + "\n");
    QCOMPARE(readAll(m_dir->filePath("cat1.htm")),
             kHead +
                 "<pre><font color=#FF0000>A</font><font color=#00FF00>B</font><font color=#FFFFFF>A</font><br>"
                 "<font color=#0000FF>B</font><font color=#FFFFFF>AB</font><br></pre>" +
                 kCredit);
}

void TestConvertCli::readsEveryFormat_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("bmp") << "pic.bmp";
    QTest::newRow("png") << "pic.png";
    QTest::newRow("jpeg") << "pic.jpg";
    QTest::newRow("gif") << "two-by-two.gif";
}

void TestConvertCli::readsEveryFormat()
{
    QFETCH(QString, name);
    QString path;
    if (name.endsWith(".gif")) { // Qt reads GIF but does not write it
        path = m_dir->filePath(name);
        QVERIFY(QFile::copy(QString(TEST_DATA_DIR) + "/" + name, path));
    } else {
        // JPEG is lossy: a flat colour survives closely enough to check the channels.
        path = picture(name, name.endsWith(".jpg") ? QImage(16, 16, QImage::Format_RGB32) : m_twoByTwo);
        if (name.endsWith(".jpg")) {
            QImage flat(16, 16, QImage::Format_RGB32);
            flat.fill(qRgb(200, 40, 40));
            flat.save(path, nullptr, 100);
        }
    }
    const Run r = run({"--area", "0 0 1 1", "--single", "--message", "X", "-o", "out.htm", path});
    QCOMPARE(r.status, 0);
    const QByteArray page = readAll(m_dir->filePath("out.htm"));
    const int at = page.indexOf("<font color=#") + 13;
    const QColor color(QString("#") + page.mid(at, 6));
    const QColor expected = name.endsWith(".jpg") ? QColor(200, 40, 40) : QColor(255, 0, 0);
    QVERIFY2(qAbs(color.red() - expected.red()) <= 3 && qAbs(color.green() - expected.green()) <= 3 &&
                 qAbs(color.blue() - expected.blue()) <= 3,
             page.constData());
}

void TestConvertCli::transparentPartsShowWhite()
{
    QImage clear(2, 1, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    clear.setPixel(1, 0, qRgba(0, 0, 255, 255));
    const Run r =
        run({"--area", "0 0 2 1", "--single", "--message", "X", "-o", "out.htm", picture("clear.png", clear)});
    QCOMPARE(r.status, 0);
    QVERIFY(readAll(m_dir->filePath("out.htm")).contains("<font color=#FFFFFF>X</font><font color=#0000FF>X</font>"));
}

void TestConvertCli::numbersFollowOnePictureAfterAnother()
{
    const QString cat = picture("cat.bmp", m_twoByTwo);
    QCOMPARE(run({"--area", "0 0 1 1", cat, cat}).status, 0);
    QCOMPARE(run({"--area", "0 0 1 1", cat}).status, 0);
    QCOMPARE(files(), (QStringList{"cat.bmp", "cat1.htm", "cat2.htm", "cat3.htm"}));
}

void TestConvertCli::damagedPictureIsReportedAndOthersStillConvert()
{
    QFile damaged(m_dir->filePath("broken.jpg"));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("\xFF\xD8\xFF\xE0 this is not the rest of a JPEG");
    damaged.close();
    const QString good = picture("good.bmp", m_twoByTwo);
    const Run r = run({"--area", "0 0 1 1", damaged.fileName(), m_dir->filePath("missing.gif"), good});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(damaged.fileName()), qPrintable(r.err));
    QVERIFY2(r.err.contains("missing.gif"), qPrintable(r.err));
    QCOMPARE(r.out, m_dir->filePath("good1.htm") + "\n");
    QCOMPARE(files(), (QStringList{"broken.jpg", "good.bmp", "good1.htm"}));
}

void TestConvertCli::badOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("unknown option") << QStringList{"--colour", "x"} << "colour";
    QTest::newRow("quality not in the list") << QStringList{"--quality", "55"} << "--quality";
    QTest::newRow("font size 8") << QStringList{"--font-size", "8"} << "--font-size";
    QTest::newRow("font size 07") << QStringList{"--font-size", "07"} << "--font-size";
    QTest::newRow("area past 300") << QStringList{"--area", "0 0 301 300"} << "--area";
    QTest::newRow("area with x2 = x1") << QStringList{"--area", "5 0 5 10"} << "--area";
    QTest::newRow("area of three numbers") << QStringList{"--area", "0 0 10"} << "--area";
    QTest::newRow("message with a space") << QStringList{"--message", "hello world"} << "' '";
    QTest::newRow("empty message") << QStringList{"--message", ""} << "--message";
    QTest::newRow("unknown preset") << QStringList{"--preset", "Own message"} << "--preset";
    QTest::newRow("replace without >") << QStringList{"--replace", "255 0"} << "--replace";
    QTest::newRow("replace past white") << QStringList{"--replace", "255 > 16777216"} << "--replace";
    QTest::newRow("background blue") << QStringList{"--background", "blue"} << "--background";
    QTest::newRow("seed not a number") << QStringList{"--seed", "abc"} << "--seed";
    QTest::newRow("-o for two pictures") << QStringList{"-o", "x.htm", "second.bmp"} << "-o";
}

void TestConvertCli::badOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    const QString cat = picture("cat.bmp", m_twoByTwo);
    const Run r = run(arguments << cat);
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.contains(mentions), qPrintable(r.err));
    QCOMPARE(files(), QStringList{"cat.bmp"});
}

void TestConvertCli::unwritableOutputIsReported()
{
    const QString cat = picture("cat.bmp", m_twoByTwo);
    const QString output = m_dir->filePath("cat.bmp/out.htm"); // its folder is a plain file: even root fails
    const Run r = run({"-o", output, cat});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(output), qPrintable(r.err));
    QCOMPARE(files(), QStringList{"cat.bmp"});
}

void TestConvertCli::seedRepeatsAndPresetsFill()
{
    const QString cat = picture("cat.bmp", m_twoByTwo);
    QCOMPARE(run({"--seed", "9", "--preset", "Hex", "-o", "a.htm", cat}).status, 0);
    QCOMPARE(run({"--seed", "9", "--preset", "Hex", "-o", "b.htm", cat}).status, 0);
    const QByteArray page = readAll(m_dir->filePath("a.htm"));
    QCOMPARE(readAll(m_dir->filePath("b.htm")), page);
    QString text = QString::fromLatin1(page.mid(page.indexOf("<pre>"), page.indexOf("</pre>") - page.indexOf("<pre>")));
    text.remove(QRegularExpression("<[^>]*>"));
    QCOMPARE(text.size(), 2 * 90000);
    QVERIFY(QRegularExpression("^[0-9A-F]+$").match(text).hasMatch());
    QVERIFY(text.contains('F') && text.contains('0'));
}

void TestConvertCli::replaceAndPageOptions()
{
    const QString cat = picture("cat.bmp", m_twoByTwo);
    const Run r =
        run({"--replace", "255 > 65280", "--replace", "65280>0", "--background", "white", "--font-size", "7",
             "--no-pre", "--single", "--sequential", "--message", "a&", "--area", "0 0 2 1", "-o", "o.htm", cat});
    QCOMPARE(r.status, 0);
    QCOMPARE(readAll(m_dir->filePath("o.htm")),
             QByteArray("<html><head><title>Orvanta @ Lumirune</title></head><body bgcolor=#FFFFFF><font size=7>\r\n"
                        "<font color=#000000>a&amp;</font><br>") +
                 kCredit);
}

QTEST_MAIN(TestConvertCli)
#include "tst_convertcli.moc"
