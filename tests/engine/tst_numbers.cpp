// SPDX-License-Identifier: MIT
#include "engine/failure.h"
#include "engine/numbers.h"

#include <QtTest>

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void toInt16RoundsHalfToEvenAndGuardsRange_data();
    void toInt16RoundsHalfToEvenAndGuardsRange();
    void shortestDecimal();
    void canonicalInt32_data();
    void canonicalInt32();
};

void TestNumbers::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << "12" << true << 12.0;
    QTest::newRow("signed with spaces") << " -1 " << true << -1.0;
    QTest::newRow("plus sign") << "+7" << true << 7.0;
    QTest::newRow("decimal part") << "10.5" << true << 10.5;
    QTest::newRow("only a decimal part") << ".5" << true << 0.5;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("spaces only") << "   " << false << 0.0;
    QTest::newRow("letters") << "x2" << false << 0.0;
    QTest::newRow("inner space") << "1 2" << false << 0.0;
    QTest::newRow("exponent") << "1e3" << false << 0.0;
    QTest::newRow("hex") << "0x10" << false << 0.0;
    QTest::newRow("lone sign") << "-" << false << 0.0;
    QTest::newRow("lone point") << "." << false << 0.0;
    QTest::newRow("comma decimal") << "1,5" << false << 0.0;
}

void TestNumbers::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);
    const std::optional<double> number = engine::parseNumber(text.toStdString());
    QCOMPARE(number.has_value(), numeric);
    if (numeric) QCOMPARE(*number, value);
}

void TestNumbers::toInt16RoundsHalfToEvenAndGuardsRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value"); // -99999: expect an overflow failure
    QTest::newRow("10.5 goes down to even") << "10.5" << 10;
    QTest::newRow("11.5 goes up to even") << "11.5" << 12;
    QTest::newRow("-0.5 goes to zero") << "-0.5" << 0;
    QTest::newRow("10.6 rounds up") << "10.6" << 11;
    QTest::newRow("upper edge") << "32767" << 32767;
    QTest::newRow("lower edge") << "-32768" << -32768;
    QTest::newRow("one past the upper edge") << "32768" << -99999;
    QTest::newRow("rounds past the upper edge") << "32767.5" << -99999;
}

void TestNumbers::toInt16RoundsHalfToEvenAndGuardsRange()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    if (value == -99999) {
        try {
            engine::toInt16(text.toStdString(), "test");
            QFAIL("no overflow");
        } catch (const engine::Failure &failure) {
            QCOMPARE(failure.number(), 6);
        }
    } else {
        QCOMPARE(int(engine::toInt16(text.toStdString(), "test")), value);
    }
}

void TestNumbers::shortestDecimal()
{
    QCOMPARE(QString::fromStdString(engine::shortestDecimal(11)), "11");
    QCOMPARE(QString::fromStdString(engine::shortestDecimal(11.5)), "11.5");
    QCOMPARE(QString::fromStdString(engine::shortestDecimal(301)), "301");
    QCOMPARE(QString::fromStdString(engine::shortestDecimal(0.1 + 0.2)), "0.30000000000000004");
}

void TestNumbers::canonicalInt32_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("canonical");
    QTest::newRow("zero") << "0" << true;
    QTest::newRow("negative") << "-1" << true;
    QTest::newRow("largest") << "2147483647" << true;
    QTest::newRow("leading zero") << "007" << false;
    QTest::newRow("minus zero") << "-0" << false;
    QTest::newRow("plus sign") << "+5" << false;
    QTest::newRow("space") << " 5" << false;
    QTest::newRow("too large") << "2147483648" << false;
    QTest::newRow("empty") << "" << false;
}

void TestNumbers::canonicalInt32()
{
    QFETCH(QString, text);
    QFETCH(bool, canonical);
    int32_t value = 0;
    QCOMPARE(engine::readCanonicalInt32(text.toStdString(), value), canonical);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
