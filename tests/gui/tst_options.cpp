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
    void presetsFillMessage_data();
    void presetsFillMessage();

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

// After a pick of before (and "TYPED" into the message box, refused while it is locked), action
// "pick" picks the item from the list, "type" types it into the preset field, "paste" pastes it.
void tst_Options::presetsFillMessage_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("locked");

    const auto row = [](const char *name, const char *before, const char *action, const char *item, const char *shown,
                        const char *message, bool locked) {
        QTest::newRow(name) << QString(before) << QString(action) << QString(item) << QString(shown) << QString(message)
                            << locked;
    };
    row("Dec", "Bin", "pick", "Dec", "Dec", "0123456789", true);
    row("Chr has no W", "Bin", "pick", "Chr", "Chr", "ABCDEFGHIJKLMNOPQRSTUVXYZ", true);
    row("Chr & Dec", "Bin", "pick", "Chr & Dec", "Chr & Dec", "ABCDEFGHIJKLMNOPQRSTUVXYZ0123456789", true);
    row("Hex", "Bin", "pick", "Hex", "Hex", "0123456789ABCDEF", true);
    row("Oct replaces a typed message", "Own message", "pick", "Oct", "Oct", "01234567", true);
    row("Bin replaces a typed message", "Own message", "pick", "Bin", "Bin", "01", true);
    row("Own message empties and unlocks", "Hex", "pick", "Own message", "Own message", "", false);
    row("Own message again empties again", "Own message", "pick", "Own message", "Own message", "", false);
    row("a letter typed under Own message", "Own message", "type", "x", "Bin", "01", true);
    row("Backspace under Dec", "Dec", "type", "\b", "Bin", "01", true);
    row("a preset's name typed", "Own message", "type", "Hex", "Bin", "01", true);
    row("a preset's name pasted", "Own message", "paste", "Hex", "Bin", "01", true);
}

void tst_Options::presetsFillMessage()
{
    QFETCH(QString, before);
    QFETCH(QString, action);
    QFETCH(QString, item);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    QFETCH(bool, locked);

    QComboBox *quickmessage = box("quickmessage");
    pick(quickmessage, before);
    QTest::keyClicks(msgtext(), "TYPED");
    QLineEdit *field = quickmessage->lineEdit();
    field->setFocus();
    field->selectAll();
    if (action == "pick")
        pick(quickmessage, item);
    else if (action == "paste")
        field->insert(item);
    else
        QTest::keyClicks(field, item);
    QCOMPARE(quickmessage->currentText(), shown);
    QCOMPARE(msgtext()->text(), message);
    QCOMPARE(msgtext()->isReadOnly(), locked);
    QVERIFY(msgtext()->isEnabled());
    // Picks work as before afterwards.
    pick(quickmessage, before);
}

QTEST_MAIN(tst_Options)
#include "tst_options.moc"
