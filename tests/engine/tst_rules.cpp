// SPDX-License-Identifier: MIT
// Rules for single values: colour codes, message characters and the page name beside a picture.
#include "engine/colorcode.h"
#include "engine/messagetext.h"
#include "engine/outputname.h"

#include <QtTest>

#include <set>

using engine::ColorEncoder;

class TestRules : public QObject
{
    Q_OBJECT

private slots:
    void encode_data();
    void encode();
    void outputNames_data();
    void outputNames();
    void messageCharacters_data();
    void messageCharacters();
};

// Pixels through one encoder: the hex text after each, and the channel values after the last.
void TestRules::encode_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<QList<int>>("colors");
    QTest::addColumn<QStringList>("hex");
    QTest::addColumn<QString>("rgb");
    const auto row = [](const char *name, int quality, const QList<int> &colors, const QStringList &hex,
                        const char *rgb) { QTest::newRow(name) << quality << colors << hex << QString(rgb); };
    row("pure red is the low byte", 100, {255}, {"FF0000"}, "2550000");
    row("single digit channel padded", 100, {10}, {"0A0000"}, "100000");
    row("all three channels", 100, {1193046}, {"563412"}, "865218");
    row("rgb pads a non-zero single digit", 100, {13107205}, {"0500C8"}, "0500200");
    // Out-of-range colours are taken modulo 2^24 rather than refused.
    row("-1, an unreadable point, is white", 100, {-1}, {"FFFFFF"}, "255255255");
    row("2^24 + 255 is red", 100, {16777471}, {"FF0000"}, "2550000");
    row("quality 100 gives every change", 100, {1, 2, 2, 1}, {"010000", "020000", "020000", "010000"}, "010000");

    row("quality 80 holds red until the drift sum passes 10", 80, {100, 104, 108, 112, 130},
        {"640000", "640000", "6C0000", "6C0000", "820000"}, "1300000");
    const auto grey = [](int v) { return v | v << 8 | v << 16; };
    row("quality 50 grey ramp", 50, {grey(10), grey(20), grey(30), grey(40), grey(50), grey(60)},
        {"000000", "141414", "141414", "282828", "282828", "3C3C3C"}, "606060");
    // The band is +-5 at quality 90: a drift of exactly 5 holds, 6 breaks.
    row("band edge holds", 90, {100, 105}, {"640000", "640000"}, "1000000");
    row("band edge plus one breaks", 90, {100, 106}, {"640000", "6A0000"}, "1060000");
    row("negative band edge holds", 90, {100, 95}, {"640000", "640000"}, "1000000");
    row("negative band edge plus one breaks", 90, {100, 94}, {"640000", "5E0000"}, "940000");
}

void TestRules::encode()
{
    QFETCH(int, quality);
    QFETCH(QList<int>, colors);
    QFETCH(QStringList, hex);
    QFETCH(QString, rgb);
    ColorEncoder encoder(quality);
    QStringList got;
    for (int color : colors) {
        encoder.ConvertRGB(color);
        got << QString::fromStdString(encoder.hexcolor());
    }
    QCOMPARE(got, hex);
    QCOMPARE(QString::fromStdString(encoder.rgbText()), rgb);
}

void TestRules::outputNames_data()
{
    QTest::addColumn<QString>("t");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("name"); // empty: no free name
    const auto row = [](const char *name, const char *t, const QStringList &existing, const char *expected) {
        QTest::newRow(name) << QString::fromUtf8(t) << existing << QString::fromUtf8(expected);
    };
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
}

void TestRules::outputNames()
{
    QFETCH(QString, t);
    QFETCH(QStringList, existing);
    QFETCH(QString, name);
    std::set<std::string> files;
    for (const QString &path : existing)
        files.insert(path.toStdString());
    const auto free =
        engine::nextFreeOutputName(t.toStdString(), [&](const std::string &p) { return files.count(p) > 0; });
    QCOMPARE(free ? QString::fromStdString(*free) : QString(), name);
}

void TestRules::messageCharacters_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("firstRefused"); // -1: all allowed
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("lower case passes the upper-cased check") << "abcxyz" << -1 << QByteArray("abcxyz");
    QTest::newRow("Nordic letters of both cases, one byte each")
        << QString::fromUtf8("åäöÅÄÖ") << -1 << QByteArray("\xE5\xE4\xF6\xC5\xC4\xD6");
    QTest::newRow("a space") << "hello world" << 5 << QByteArray();
    // Upper-casing must not turn these into allowed letters: ß gives SS and ı gives I elsewhere.
    QTest::newRow("sharp s") << QString::fromUtf8("aß") << 1 << QByteArray();
    QTest::newRow("dotless i") << QString::fromUtf8("ı") << 0 << QByteArray();
}

void TestRules::messageCharacters()
{
    QFETCH(QString, message);
    QFETCH(int, firstRefused);
    QFETCH(QByteArray, written);
    const auto refused = engine::firstDisallowedChar(message.toStdU32String());
    QCOMPARE(refused ? int(*refused) : -1, firstRefused);
    if (!refused) QCOMPARE(QByteArray::fromStdString(engine::toAnsi(message.toStdU32String())), written);
}

QTEST_GUILESS_MAIN(TestRules)
#include "tst_rules.moc"
