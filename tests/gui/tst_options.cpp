// SPDX-License-Identifier: MIT
#include "gui/optionsupport.h"
#include "support/fakeplatform.h"

#include "mainwindow/quennet.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

class tst_Options : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typingKeepsBoxesToTheirLists_data();
    void typingKeepsBoxesToTheirLists();
    void textSetByProgram_data();
    void textSetByProgram();
    void pickKeepsItem_data();
    void pickKeepsItem();

    void presetPickFillsMessage_data();
    void presetPickFillsMessage();
    void ownMessageTakesHundredTypedCharacters();
    void typingInPresetBoxReturnsToBin_data();
    void typingInPresetBoxReturnsToBin();

private:
    QComboBox *box(const char *name) { return m_window->findChild<QComboBox *>(name); }
    QLineEdit *msgtext() { return m_window->findChild<QLineEdit *>("msgtext"); }

    FakePlatform m_fake;
    ui::quennet *m_window = nullptr;
};

void tst_Options::init()
{
    m_fake = FakePlatform();
    m_window = new ui::quennet(m_fake);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void tst_Options::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

// Keys go to the box's edit field; "\b" is Backspace. With selectFirst the typing replaces
// the whole text, else it goes at the end.
void tst_Options::typingKeepsBoxesToTheirLists_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("selectFirst");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");

    QTest::newRow("quality: deleting the last 0 of 100 leaves 10") << "colorquality"
                                                                   << "100" << false << "\b"
                                                                   << "10";
    QTest::newRow("quality: deleting again leaves 1, put back to 100") << "colorquality"
                                                                       << "100" << false << "\b\b"
                                                                       << "100";
    QTest::newRow("quality: a typed 5 is put back to 100") << "colorquality"
                                                           << "60" << true << "5"
                                                           << "100";
    QTest::newRow("quality: 40 cannot be typed, its 4 is refused first") << "colorquality"
                                                                         << "60" << true << "40"
                                                                         << "100";
    QTest::newRow("quality: percent sign after the digits") << "colorquality"
                                                            << "50" << false << "%"
                                                            << "100";
    QTest::newRow("quality: emptied field") << "colorquality"
                                            << "50" << true << "\b"
                                            << "100";
    QTest::newRow("quality: a 0 after 10 gives the allowed 100") << "colorquality"
                                                                 << "10" << false << "0"
                                                                 << "100";
    QTest::newRow("font size: typed 3 stays") << "fontsizeC"
                                              << "1" << true << "3"
                                              << "3";
    QTest::newRow("font size: typed 8") << "fontsizeC"
                                        << "5" << true << "8"
                                        << "1";
    QTest::newRow("font size: typed 0") << "fontsizeC"
                                        << "5" << true << "0"
                                        << "1";
    QTest::newRow("font size: typed 07") << "fontsizeC"
                                         << "5" << true << "07"
                                         << "1";
    QTest::newRow("font size: a second digit") << "fontsizeC"
                                               << "5" << false << "2"
                                               << "1";
    QTest::newRow("font size: emptied field") << "fontsizeC"
                                              << "5" << true << "\b"
                                              << "1";
}

void tst_Options::typingKeepsBoxesToTheirLists()
{
    QFETCH(QString, boxName);
    QFETCH(QString, start);
    QFETCH(bool, selectFirst);
    QFETCH(QString, keys);
    QFETCH(QString, expected);

    QComboBox *combo = box(qPrintable(boxName));
    pickFromList(combo, start);
    QCOMPARE(combo->currentText(), start);
    QLineEdit *field = combo->lineEdit();
    field->setFocus();
    if (selectFirst)
        field->selectAll();
    else
        field->end(false);
    QTest::keyClicks(field, keys);
    QCOMPARE(combo->currentText(), expected);
    QCOMPARE(field->text(), expected);
}

void tst_Options::textSetByProgram_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("quality: allowed value stays") << "colorquality"
                                                  << "40"
                                                  << "40";
    QTest::newRow("quality: leading zero") << "colorquality"
                                           << "090"
                                           << "100";
    QTest::newRow("quality: space before") << "colorquality"
                                           << " 50"
                                           << "100";
    QTest::newRow("quality: space after") << "colorquality"
                                          << "50 "
                                          << "100";
    QTest::newRow("quality: percent sign") << "colorquality"
                                           << "50%"
                                           << "100";
    QTest::newRow("quality: empty") << "colorquality"
                                    << ""
                                    << "100";
    QTest::newRow("quality: not in the list") << "colorquality"
                                              << "55"
                                              << "100";
    QTest::newRow("font size: allowed value stays") << "fontsizeC"
                                                    << "7"
                                                    << "7";
    QTest::newRow("font size: 8") << "fontsizeC"
                                  << "8"
                                  << "1";
    QTest::newRow("font size: leading zero") << "fontsizeC"
                                             << "07"
                                             << "1";
    QTest::newRow("font size: empty") << "fontsizeC"
                                      << ""
                                      << "1";
}

void tst_Options::textSetByProgram()
{
    QFETCH(QString, boxName);
    QFETCH(QString, text);
    QFETCH(QString, expected);

    QComboBox *combo = box(qPrintable(boxName));
    combo->setEditText(text);
    QCOMPARE(combo->currentText(), expected);
}

void tst_Options::pickKeepsItem_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("item");

    QTest::newRow("quality 40") << "colorquality"
                                << "40";
    QTest::newRow("quality 10") << "colorquality"
                                << "10";
    QTest::newRow("font size 5") << "fontsizeC"
                                 << "5";
}

void tst_Options::pickKeepsItem()
{
    QFETCH(QString, boxName);
    QFETCH(QString, item);

    QComboBox *combo = box(qPrintable(boxName));
    pickFromList(combo, item);
    QCOMPARE(combo->currentText(), item);
    // Leaving the box must not undo the pick either.
    msgtext()->setFocus();
    QCOMPARE(combo->currentText(), item);
}

void tst_Options::presetPickFillsMessage_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("locked");

    QTest::newRow("Dec") << "Bin"
                         << "Dec"
                         << "0123456789" << true;
    QTest::newRow("Chr has no W") << "Bin"
                                  << "Chr"
                                  << "ABCDEFGHIJKLMNOPQRSTUVXYZ" << true;
    QTest::newRow("Chr & Dec") << "Bin"
                               << "Chr & Dec"
                               << "ABCDEFGHIJKLMNOPQRSTUVXYZ0123456789" << true;
    QTest::newRow("Hex") << "Bin"
                         << "Hex"
                         << "0123456789ABCDEF" << true;
    QTest::newRow("Oct") << "Bin"
                         << "Oct"
                         << "01234567" << true;
    QTest::newRow("Bin after Own message locks again") << "Own message"
                                                       << "Bin"
                                                       << "01" << true;
    QTest::newRow("Own message empties and unlocks") << "Hex"
                                                     << "Own message"
                                                     << "" << false;
    QTest::newRow("Own message picked again empties again") << "Own message"
                                                            << "Own message"
                                                            << "" << false;
}

void tst_Options::presetPickFillsMessage()
{
    QFETCH(QString, before);
    QFETCH(QString, preset);
    QFETCH(QString, message);
    QFETCH(bool, locked);

    QComboBox *quickmessage = box("quickmessage");
    pickFromList(quickmessage, before);
    if (before == "Own message") QTest::keyClicks(msgtext(), "HELLO");
    pickFromList(quickmessage, preset);
    QCOMPARE(quickmessage->currentText(), preset);
    QCOMPARE(msgtext()->text(), message);
    QCOMPARE(msgtext()->isReadOnly(), locked);
    QVERIFY(msgtext()->isEnabled());
}

void tst_Options::ownMessageTakesHundredTypedCharacters()
{
    QTest::keyClicks(msgtext(), "5");
    QCOMPARE(msgtext()->text(), "01");

    pickFromList(box("quickmessage"), "Own message");
    const QString typed = QString("ABCDEFGHIJ").repeated(12);
    QTest::keyClicks(msgtext(), typed);
    QCOMPARE(msgtext()->text(), typed.left(100));

    pickFromList(box("quickmessage"), "Oct");
    QCOMPARE(msgtext()->text(), "01234567");
    QVERIFY(msgtext()->isReadOnly());
}

void tst_Options::typingInPresetBoxReturnsToBin_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("paste");

    QTest::newRow("a letter after Own message") << "Own message"
                                                << "x" << false;
    QTest::newRow("Backspace after Dec") << "Dec"
                                         << "\b" << false;
    QTest::newRow("typing a preset's name") << "Own message"
                                            << "Hex" << false;
    QTest::newRow("pasting a preset's name") << "Own message"
                                             << "Hex" << true;
}

void tst_Options::typingInPresetBoxReturnsToBin()
{
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(bool, paste);

    QComboBox *quickmessage = box("quickmessage");
    pickFromList(quickmessage, before);
    if (before == "Own message") QTest::keyClicks(msgtext(), "TYPED");
    QLineEdit *field = quickmessage->lineEdit();
    field->setFocus();
    field->selectAll();
    if (paste)
        field->insert(keys);
    else
        QTest::keyClicks(field, keys);
    QCOMPARE(quickmessage->currentText(), "Bin");
    QCOMPARE(msgtext()->text(), "01");
    QVERIFY(msgtext()->isReadOnly());

    // The box is whole again: a later pick works as usual.
    pickFromList(quickmessage, before);
    QCOMPARE(quickmessage->currentText(), before);
}

QTEST_MAIN(tst_Options)
#include "tst_options.moc"
