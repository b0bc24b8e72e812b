// SPDX-License-Identifier: MIT
#include "support/fakeplatform.h"

#include "mainwindow/quennet.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

class tst_Options : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void textKeptToList_data();
    void textKeptToList();
    void presetPickFillsMessage_data();
    void presetPickFillsMessage();
    void editingPresetFieldReturnsToBin_data();
    void editingPresetFieldReturnsToBin();

private:
    QComboBox *box(const QString &name) { return m_window->findChild<QComboBox *>(name); }
    QLineEdit *msgtext() { return m_window->findChild<QLineEdit *>("msgtext"); }
    // As a user picks: open the list, move to the item, press Enter.
    void pick(QComboBox *combo, const QString &item);

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
}

void tst_Options::pick(QComboBox *combo, const QString &item)
{
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(combo->model()->index(combo->findText(item), 0));
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(combo->currentText(), item);
}

// After a pick of start, how: "end" types the keys after it, "over" types them over it, "set" has
// the program set them as the text, "pick" does nothing more. "\b" is Backspace.
void tst_Options::textKeptToList_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *name, const char *box, const char *start, const char *how, const char *keys,
                        const char *expected) {
        QTest::newRow(name) << QString(box) << QString(start) << QString(how) << QString(keys) << QString(expected);
    };
    row("quality: 100 less its last 0 is 10", "colorquality", "100", "end", "\b", "10");
    row("quality: 10 less its 0 is put back to 100", "colorquality", "100", "end", "\b\b", "100");
    row("quality: a single 5 is put back to 100", "colorquality", "60", "over", "5", "100");
    row("quality: percent sign after the digits", "colorquality", "50", "end", "%", "100");
    row("quality: emptied", "colorquality", "50", "over", "\b", "100");
    row("quality: listed 40 set", "colorquality", "100", "set", "40", "40");
    row("quality: 090 set", "colorquality", "40", "set", "090", "100");
    row("quality: space before", "colorquality", "40", "set", " 50", "100");
    row("quality: picked 40 stays", "colorquality", "40", "pick", "", "40");
    row("font size: 3 stays", "fontsizeC", "1", "over", "3", "3");
    row("font size: 8", "fontsizeC", "5", "over", "8", "1");
    row("font size: 0", "fontsizeC", "5", "over", "0", "1");
    row("font size: picked 5 stays", "fontsizeC", "5", "pick", "", "5");
    row("font size: 07", "fontsizeC", "5", "over", "07", "1");
    row("font size: emptied", "fontsizeC", "5", "over", "\b", "1");
    row("font size: empty text set", "fontsizeC", "5", "set", "", "1");
}

void tst_Options::textKeptToList()
{
    QFETCH(QString, name);
    QFETCH(QString, start);
    QFETCH(QString, how);
    QFETCH(QString, keys);
    QFETCH(QString, expected);

    QComboBox *combo = box(name);
    pick(combo, start);
    QLineEdit *field = combo->lineEdit();
    field->setFocus();
    if (how == "set") {
        combo->setEditText(keys);
    } else if (how != "pick") {
        if (how == "over")
            field->selectAll();
        else
            field->end(false);
        QTest::keyClicks(field, keys);
    }
    QCOMPARE(combo->currentText(), expected);
    // Leaving the box keeps what it shows.
    msgtext()->setFocus();
    QCOMPARE(combo->currentText(), expected);
}

void tst_Options::presetPickFillsMessage_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("locked");

    const auto row = [](const char *name, const char *before, const char *preset, const char *message, bool locked) {
        QTest::newRow(name) << QString(before) << QString(preset) << QString(message) << locked;
    };
    row("Dec", "Bin", "Dec", "0123456789", true);
    row("Chr has no W", "Bin", "Chr", "ABCDEFGHIJKLMNOPQRSTUVXYZ", true);
    row("Chr & Dec", "Bin", "Chr & Dec", "ABCDEFGHIJKLMNOPQRSTUVXYZ0123456789", true);
    row("Hex", "Bin", "Hex", "0123456789ABCDEF", true);
    row("Oct replaces a typed message", "Own message", "Oct", "01234567", true);
    row("Bin replaces a typed message", "Own message", "Bin", "01", true);
    row("Own message empties and unlocks", "Hex", "Own message", "", false);
    row("Own message again empties again", "Own message", "Own message", "", false);
}

void tst_Options::presetPickFillsMessage()
{
    QFETCH(QString, before);
    QFETCH(QString, preset);
    QFETCH(QString, message);
    QFETCH(bool, locked);

    pick(box("quickmessage"), before);
    QTest::keyClicks(msgtext(), "TYPED"); // refused unless unlocked
    pick(box("quickmessage"), preset);
    QCOMPARE(msgtext()->text(), message);
    QCOMPARE(msgtext()->isReadOnly(), locked);
    QVERIFY(msgtext()->isEnabled());
}

void tst_Options::editingPresetFieldReturnsToBin_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("paste");

    const auto row = [](const char *name, const char *before, const char *keys, bool paste) {
        QTest::newRow(name) << QString(before) << QString(keys) << paste;
    };
    row("a letter typed under Own message", "Own message", "x", false);
    row("Backspace under Dec", "Dec", "\b", false);
    row("a preset's name typed", "Own message", "Hex", false);
    row("a preset's name pasted", "Own message", "Hex", true);
}

void tst_Options::editingPresetFieldReturnsToBin()
{
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(bool, paste);

    QComboBox *quickmessage = box("quickmessage");
    pick(quickmessage, before);
    QTest::keyClicks(msgtext(), "TYPED");
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
    // Picks work as before afterwards.
    pick(quickmessage, before);
}

QTEST_MAIN(tst_Options)
#include "tst_options.moc"
