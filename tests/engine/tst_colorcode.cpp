// SPDX-License-Identifier: MIT
#include "engine/colorcode.h"
#include "engine/failure.h"

#include <QtTest>

using engine::ColorEncoder;

class TestColorCode : public QObject
{
    Q_OBJECT

private slots:
    void exactAtQuality100_data();
    void exactAtQuality100();
    void runs_data();
    void runs();
    void qualityTextIsRead();
    void outOfRangeColorsWrapModulo2to24_data();
    void outOfRangeColorsWrapModulo2to24();
    void colorTextThatIsNoNumberFails();
    void hexIsEmptyBeforeFirstPixel();
};

void TestColorCode::exactAtQuality100_data()
{
    QTest::addColumn<QString>("colortext");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("rgb");
    QTest::newRow("black") << "0"
                           << "000000"
                           << "000000";
    QTest::newRow("pure red is the low byte") << "255"
                                              << "FF0000"
                                              << "2550000";
    QTest::newRow("single digit channel padded") << "10"
                                                 << "0A0000"
                                                 << "100000";
    QTest::newRow("green 128, blue 255") << "16744448"
                                         << "0080FF"
                                         << "00128255";
    QTest::newRow("all three channels") << "1193046"
                                        << "563412"
                                        << "865218";
    QTest::newRow("white") << "16777215"
                           << "FFFFFF"
                           << "255255255";
    QTest::newRow("rgb shows single digits with a zero") << QString::number(5 | 200 << 16) << "0500C8"
                                                         << "0500200";
}

void TestColorCode::exactAtQuality100()
{
    QFETCH(QString, colortext);
    QFETCH(QString, hex);
    QFETCH(QString, rgb);
    ColorEncoder encoder(100);
    encoder.ConvertRGB(colortext.toStdString());
    QCOMPARE(QString::fromStdString(encoder.hexcolor()), hex);
    QCOMPARE(QString::fromStdString(encoder.rgbText()), rgb);
}

// Sequences of pixels through one encoder; each entry is the hex text after that pixel.
void TestColorCode::runs_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<QList<int>>("colors");
    QTest::addColumn<QStringList>("hex");

    QTest::newRow("quality 80 holds red until the drift sum passes 10")
        << 80 << QList<int>{100, 104, 108, 112, 130} << QStringList{"640000", "640000", "6C0000", "6C0000", "820000"};

    auto grey = [](int v) { return v | v << 8 | v << 16; };
    QTest::newRow("quality 50 grey ramp")
        << 50 << QList<int>{grey(10), grey(20), grey(30), grey(40), grey(50), grey(60)}
        << QStringList{"000000", "141414", "141414", "282828", "282828", "3C3C3C"};

    // T = 5 at quality 90: a drift of exactly 5 holds, 6 breaks.
    QTest::newRow("band edge holds") << 90 << QList<int>{100, 105} << QStringList{"640000", "640000"};
    QTest::newRow("band edge plus one breaks") << 90 << QList<int>{100, 106} << QStringList{"640000", "6A0000"};
    QTest::newRow("negative band edge holds") << 90 << QList<int>{100, 95} << QStringList{"640000", "640000"};
    QTest::newRow("negative band edge plus one breaks") << 90 << QList<int>{100, 94} << QStringList{"640000", "5E0000"};

    QTest::newRow("dark start at quality 10 comes out black")
        << 10 << QList<int>{grey(40), grey(40)} << QStringList{"000000", "282828"};
    QTest::newRow("quality 100 gives every change")
        << 100 << QList<int>{1, 2, 2, 1} << QStringList{"010000", "020000", "020000", "010000"};
}

void TestColorCode::runs()
{
    QFETCH(int, quality);
    QFETCH(QList<int>, colors);
    QFETCH(QStringList, hex);
    ColorEncoder encoder(quality);
    QStringList got;
    for (int color : colors) {
        encoder.ConvertRGB(color);
        got << QString::fromStdString(encoder.hexcolor());
    }
    QCOMPARE(got, hex);
}

void TestColorCode::qualityTextIsRead()
{
    // The held value survives: 104 is within +-10 of 100 at quality 80, not at 100.
    ColorEncoder loose(80);
    loose.ConvertRGB(100);
    loose.ConvertRGB(104);
    QCOMPARE(loose.state().heldred, 100);
    QCOMPARE(loose.state().driftred, 4);
    loose.reset();
    QCOMPARE(loose.state().heldred, 0);
    QCOMPARE(QString::fromStdString(loose.hexcolor()), QString());
}

void TestColorCode::outOfRangeColorsWrapModulo2to24_data()
{
    QTest::addColumn<int>("color");
    QTest::addColumn<QString>("hex");
    QTest::newRow("-1, an unreadable point, is white") << -1 << "FFFFFF";
    QTest::newRow("2^24 is black") << 16777216 << "000000";
    QTest::newRow("2^24 + 255 is red") << 16777216 + 255 << "FF0000";
    QTest::newRow("-16777216 is black") << -16777216 << "000000";
}

void TestColorCode::outOfRangeColorsWrapModulo2to24()
{
    QFETCH(int, color);
    QFETCH(QString, hex);
    ColorEncoder encoder;
    encoder.ConvertRGB(std::to_string(color));
    QCOMPARE(QString::fromStdString(encoder.hexcolor()), hex);
}

void TestColorCode::colorTextThatIsNoNumberFails()
{
    ColorEncoder encoder;
    try {
        encoder.ConvertRGB(std::string_view("red"));
        QFAIL("a colour text that is no number was encoded");
    } catch (const engine::Failure &failure) {
        QCOMPARE(failure.number(), 13);
        QVERIFY(QString(failure.what()).contains("red"));
    }
    QVERIFY_THROWS_EXCEPTION(engine::Failure, encoder.ConvertRGB(std::string_view("99999999999")));
}

void TestColorCode::hexIsEmptyBeforeFirstPixel()
{
    ColorEncoder encoder;
    QVERIFY(encoder.hexcolor().empty());
    encoder.ConvertRGB(0);
    QCOMPARE(QString::fromStdString(encoder.hexcolor()), "000000");
}

QTEST_GUILESS_MAIN(TestColorCode)
#include "tst_colorcode.moc"
