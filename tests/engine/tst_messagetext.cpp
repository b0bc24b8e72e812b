// SPDX-License-Identifier: MIT
#include "engine/messagetext.h"

#include <QtTest>

class TestMessageText : public QObject
{
    Q_OBJECT

private slots:
    void allowedCharacters_data();
    void allowedCharacters();
    void presets();
};

void TestMessageText::allowedCharacters_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("firstBad"); // -1: all allowed
    QTest::newRow("lower case passes through upper-casing") << "abcxyz" << -1;
    QTest::newRow("nordic lower case") << QString::fromUtf8("åäöÅÄÖ") << -1;
    QTest::newRow("punctuation and digits") << ",.-_'1234567890+*/!?@#$%&\\()" << -1;
    QTest::newRow("space") << "hello world" << 5;
    QTest::newRow("letters upper-casing would map elsewhere") << QString::fromUtf8("aß") << 1;
    QTest::newRow("dotless i is not I") << QString::fromUtf8("ı") << 0;
    QTest::newRow("accented") << QString::fromUtf8("é") << 0;
    QTest::newRow("empty") << "" << -1;
}

void TestMessageText::allowedCharacters()
{
    QFETCH(QString, message);
    QFETCH(int, firstBad);
    const auto bad = engine::firstDisallowedChar(message.toStdU32String());
    QCOMPARE(bad ? int(*bad) : -1, firstBad);
}

void TestMessageText::presets()
{
    QCOMPARE(engine::presetMessage("Chr").value(), "ABCDEFGHIJKLMNOPQRSTUVXYZ");
    QCOMPARE(engine::presetMessage("Chr & Dec").value(), "ABCDEFGHIJKLMNOPQRSTUVXYZ0123456789");
    QCOMPARE(engine::presetMessage("Own message").value(), "");
    QVERIFY(!engine::presetMessage("bin"));
    QCOMPARE(engine::toAnsi(U"\u00C5a\u20AC"), std::string("\xC5"
                                                           "a?"));
}

QTEST_GUILESS_MAIN(TestMessageText)
#include "tst_messagetext.moc"
