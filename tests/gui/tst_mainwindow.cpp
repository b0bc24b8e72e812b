// SPDX-License-Identifier: MIT
// The main window as it starts: controls, texts, places, tab order, the option group, closing.
#include "mainwindow/controls.h"
#include "mainwindow/quennet.h"
#include "picture/picturebox.h"
#include "support/fakeplatform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_window.reset(); }
    void startTexts_data();
    void startTexts();
    void startStates();
    void comboLists();
    void placesInPixels_data();
    void placesInPixels();
    void overlaysAtStart();
    void tabOrder();
    void closingEndsTheProgram();
    void resizingMovesNothing();

private:
    QWidget *control(const QString &name) const { return m_window->findChild<QWidget *>(name); }
    FakePlatform m_fake;
    std::unique_ptr<ui::quennet> m_window;
};

void TestMainWindow::init()
{
    m_fake = FakePlatform();
    m_window = std::make_unique<ui::quennet>(m_fake);
}

void TestMainWindow::startTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const QList<QPair<QString, QString>> rows{
        {"quennet", "Lumirune II - Orvanta"},
        {"convertb", "Convert"},
        {"loadpic", "Load picture"},
        {"setrender", "Set render area"},
        {"colorframe", "Color"},
        {"textframe", "Text"},
        {"convertframe", "Convert"},
        {"totpixels", "90000"},
        {"info3", "Total pixels in render area:"},
        {"renderareapoint", "0 0 300 300"},
        {"info2", "Render area  (x1 y1 x2 y2):"},
        {"info1", "Load the picture you want to convert and then setup your options."},
        {"colorquality", "100"},
        {"addignorelist", "Add"},
        {"removeignorelist", "Rem"},
        {"whitebackground", "White background color"},
        {"blackbackground", "Black background color"},
        {"infolabel1", "Color quality:                %"},
        {"infolabel5", "Ignore color:"},
        {"fontsizeC", "1"},
        {"quickmessage", "Bin"},
        {"doublechrperpix", "Double chr per pix (bigger file size)"},
        {"Insertpre", "Insert Pre"},
        {"msgtext", "01"},
        {"randommessage", "Random"},
        {"infolabel3", "Message:"},
        {"infolabel2", "Font size:"},
        {"convertfilename", ""},
        {"converthexcolor", "0"},
        {"convertrgbcolor", "0"},
        {"convertvbcolor", "0"},
        {"convertlinenr", "0"},
        {"convertpixelnr", "0"},
        {"infolabel6", "Dec:                                        RGB:                                       HEX:"},
        {"infolabel4", "Working on:                                            Save in file:"},
        {"convertinfo3", "0 sec elasped, 0 sec left."},
        {"convertinfo2", "Line number:"},
        {"convertinfo1", "Pixel number:"},
        {"convertstatus", "0%"},
        {"infolabel7", "Status:"},
    };
    for (const auto &[name, text] : rows)
        QTest::newRow(qPrintable(name)) << name << text;
}

void TestMainWindow::startTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QObject *object = name == "quennet" ? m_window.get() : m_window->findChild<QObject *>(name);
    QVERIFY2(object, "no control of that name");
    QString shown;
    if (auto *w = qobject_cast<QWidget *>(object); w && w->isWindow())
        shown = w->windowTitle();
    else if (auto *label = qobject_cast<QLabel *>(object))
        shown = label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(object))
        shown = button->text();
    else if (auto *frame = qobject_cast<QGroupBox *>(object))
        shown = frame->title();
    else if (auto *combo = qobject_cast<QComboBox *>(object))
        shown = combo->currentText();
    else if (auto *edit = qobject_cast<QLineEdit *>(object))
        shown = edit->text();
    QCOMPARE(shown, text);
}

void TestMainWindow::startStates()
{
    ui::quennet &w = *m_window;
    QVERIFY(w.blackbackground->isChecked() && !w.whitebackground->isChecked());
    QVERIFY(w.doublechrperpix->isChecked() && w.Insertpre->isChecked() && w.randommessage->isChecked());
    QVERIFY(w.msgtext->isReadOnly() && w.msgtext->isEnabled());
    QCOMPARE(w.msgtext->maxLength(), 100);
    QVERIFY(w.convertfilename->isReadOnly());
    QCOMPARE(w.ignorelist->count(), 0);
    QVERIFY(w.convertframe->isHidden() && !w.colorframe->isHidden() && !w.textframe->isHidden());
    QVERIFY(!w.statustimer->isActive());
    QCOMPARE(w.statustimer->interval(), 1000);
    QCOMPARE(w.showignorecolor->color(), int32_t(0x80000005));
    for (QWidget *option : w.optionGroup())
        QVERIFY2(option->isEnabled(), qPrintable(option->objectName()));
    QCOMPARE(w.setrenderstatus, QString());
    QCOMPARE(w.convertb->font().pointSize(), 12);
    QVERIFY(w.convertb->font().bold());
    QVERIFY(!w.windowIcon().isNull());
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
}

void TestMainWindow::comboLists()
{
    auto items = [](QComboBox *combo) {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i)
            list << combo->itemText(i);
        return list;
    };
    QCOMPARE(items(m_window->colorquality), (QStringList{"100", "90", "80", "70", "60", "50", "40", "30", "20", "10"}));
    QCOMPARE(items(m_window->fontsizeC), (QStringList{"7", "6", "5", "4", "3", "2", "1"}));
    QCOMPARE(items(m_window->quickmessage),
             (QStringList{"Dec", "Chr", "Chr & Dec", "Hex", "Oct", "Bin", "Own message"}));
    QVERIFY(m_window->colorquality->isEditable() && m_window->fontsizeC->isEditable() &&
            m_window->quickmessage->isEditable());
}

// Twips divided by 15, relative to the window or to the frame holding the control.
void TestMainWindow::placesInPixels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("mainpic") << "mainpic" << QRect(8, 8, 302, 302);
    QTest::newRow("convertb") << "convertb" << QRect(320, 272, 153, 33);
    QTest::newRow("colorframe") << "colorframe" << QRect(264, 312, 209, 201);
    QTest::newRow("textframe") << "textframe" << QRect(8, 312, 249, 201);
    QTest::newRow("convertframe") << "convertframe" << QRect(8, 312, 465, 201);
    QTest::newRow("info1") << "info1" << QRect(328, 32, 145, 49);
    QTest::newRow("in colorframe: showignorecolor") << "showignorecolor" << QRect(160, 154, 41, 36);
    QTest::newRow("in textframe: msgtext") << "msgtext" << QRect(8, 152, 233, 43);
    QTest::newRow("in convertframe: statusbar1") << "statusbar1" << QRect(24, 40, 413, 25);
    QTest::newRow("in convertframe: convertfilename") << "convertfilename" << QRect(216, 112, 225, 19);
}

void TestMainWindow::placesInPixels()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QCOMPARE(control(name)->geometry(), pixels);
}

void TestMainWindow::overlaysAtStart()
{
    struct Expected
    {
        const char *name;
        bool visible;
        QColor color;
        double x1, y1, x2, y2;
    };
    const Expected rows[] = {
        {"Line1", false, QColor(0, 192, 0), 149, 0, 149, 4470},
        {"Line2", false, QColor(0, 192, 0), 0, 149, 4470, 149},
        {"renderareabox", true, QColor(255, 0, 0), 0, 0, 4500, 4500},
        {"pointline2", false, QColor(0, 128, 0), 480, 600, 480, 900},
        {"pointline1", false, QColor(0, 128, 0), 480, 600, 780, 600},
    };
    for (const Expected &e : rows) {
        auto *overlay = m_window->mainpic->findChild<ui::Overlay *>(e.name);
        QVERIFY2(overlay, e.name);
        QCOMPARE(overlay->isVisible(), e.visible);
        QCOMPARE(overlay->color(), e.color);
        QCOMPARE(QLineF(overlay->x1, overlay->y1, overlay->x2, overlay->y2), QLineF(e.x1, e.y1, e.x2, e.y2));
    }
    // The outline is what the box shows along the area's first column; the page never sees it.
    m_window->show();
    QCOMPARE(m_fake.pixelShown(m_window->mainpic, QPoint(1, 150)), 255);
    QCOMPARE(m_fake.pixelShown(m_window->mainpic, QPoint(2, 150)), 0xFFFFFF);
    QCOMPARE(m_window->mainpic->drawingArea().pixel(0, 149), qRgb(255, 255, 255));
}

void TestMainWindow::tabOrder()
{
    QStringList order;
    QWidget *w = m_window->mainpic;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty()) // skip a combo's own edit field
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != m_window->mainpic && order.size() < 40);
    QCOMPARE(order.mid(0, 16),
             (QStringList{"mainpic", "msgtext", "blackbackground", "setrender", "loadpic", "convertb",
                          "whitebackground", "randommessage", "removeignorelist", "ignorelist", "addignorelist",
                          "colorquality", "Insertpre", "doublechrperpix", "quickmessage", "fontsizeC"}));
}

void TestMainWindow::closingEndsTheProgram()
{
    m_window->show();
    QVERIFY(m_window->close());
    QVERIFY(m_fake.quitCalled);
    QCOMPARE(m_fake.exitCode, 0);
}

void TestMainWindow::resizingMovesNothing()
{
    m_window->show();
    const QRect before = m_window->convertb->geometry();
    m_window->resize(700, 700);
    QCOMPARE(m_window->convertb->geometry(), before);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
