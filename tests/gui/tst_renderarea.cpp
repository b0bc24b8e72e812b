// SPDX-License-Identifier: MIT
// Choosing the render area with the mouse, and picking colours from the picture.
#include "support/fakeplatform.h"

#include "mainwindow/controls.h"
#include "mainwindow/quennet.h"
#include "picture/picturebox.h"
#include "picture/setrenderareaform.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

class TestRenderArea : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void refusedSecondCornerAndCrosshairColour_data();
    void refusedSecondCornerAndCrosshairColour();
    void completedSelection_data();
    void completedSelection();
    void colorPick_data();
    void colorPick();
    void mouseButtonsActAlike_data();
    void mouseButtonsActAlike();
    void escCancelsSelection_data();
    void escCancelsSelection();
    void brokenFirstCornerEndsProgram();

private:
    void click(double x, double y) { emit w->mainpic->mouseDown(1, 0, x, y); }
    void move(double x, double y) { emit w->mainpic->mouseMove(0, 0, x, y); }
    QString code() const { return w->renderareapoint->text() + " / " + w->totpixels->text(); }
    QList<bool> optionStates() const;

    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<ui::quennet> w;
};

void TestRenderArea::init()
{
    w.reset();
    fake = std::make_unique<FakePlatform>();
    w = std::make_unique<ui::quennet>(*fake);
}

QList<bool> TestRenderArea::optionStates() const
{
    QList<bool> states;
    for (const char *name : {"renderareapoint", "doublechrperpix", "Insertpre", "msgtext", "quickmessage",
                             "randommessage", "fontsizeC", "colorquality", "blackbackground", "whitebackground",
                             "ignorelist", "addignorelist", "removeignorelist", "loadpic", "convertb", "setrender"})
        states << w->findChild<QWidget *>(name)->isEnabled();
    return states;
}

void TestRenderArea::refusedSecondCornerAndCrosshairColour_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<bool>("line1Red");
    QTest::addColumn<bool>("line2Red");
    // The first corner is pixel (100, 100).
    QTest::newRow("same column") << 1514.9 << 2250.0 << true << false;
    QTest::newRow("same row") << 2250.0 << 1500.0 << false << true;
    QTest::newRow("left") << 750.0 << 2250.0 << true << false;
    QTest::newRow("above") << 2250.0 << 750.0 << false << true;
    QTest::newRow("left and above") << 0.0 << 0.0 << true << true;
}

void TestRenderArea::refusedSecondCornerAndCrosshairColour()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(bool, line1Red);
    QFETCH(bool, line2Red);
    const QColor green(0, 192, 0);
    const QColor red(255, 0, 0);

    w->renderareapoint_Click();
    w->setrender->click();
    QVERIFY(!w->findChild<ui::setrenderareaform *>()->isVisible());
    QCOMPARE(optionStates(), QList<bool>(16, false));
    QVERIFY(w->Line1->isVisible() && w->Line2->isVisible());
    move(x, y);
    QCOMPARE(w->Line1->color(), green); // no colouring before the first corner
    QCOMPARE(w->Line2->color(), green);

    click(1500, 1500);
    QCOMPARE(QLineF(w->pointline1->x1, w->pointline1->y1, w->pointline1->x2, w->pointline1->y2),
             QLineF(1500, 1500, 4500, 1500));
    move(x, y);
    QCOMPARE(QLineF(w->Line1->x1, w->Line1->y1, w->Line1->x2, w->Line1->y2), QLineF(x, 0, x, 4470));
    QCOMPARE(QLineF(w->Line2->x1, w->Line2->y1, w->Line2->x2, w->Line2->y2), QLineF(0, y, 4470, y));
    QCOMPARE(w->Line1->color(), line1Red ? red : green);
    QCOMPARE(w->Line2->color(), line2Red ? red : green);

    click(x, y);
    QCOMPARE(code(), "0 0 300 300 / 90000");
    QCOMPARE(optionStates(), QList<bool>(16, false));
    QVERIFY(w->pointline1->isVisible());

    // Still waiting: the crosshair turns green where a corner is acceptable, and that corner counts.
    move(2250, 2250);
    QCOMPARE(w->Line1->color(), green);
    QCOMPARE(w->Line2->color(), green);
    click(2250, 2250);
    QCOMPARE(code(), "100 100 150 150 / 2500");
    QVERIFY(fake->messages.isEmpty());
}

void TestRenderArea::completedSelection_data()
{
    QTest::addColumn<QPointF>("first");
    QTest::addColumn<QPointF>("second");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QRectF>("outline");
    QTest::newRow("smallest area") << QPointF(600, 1050) << QPointF(615, 1065) << "40 70 41 71 / 1"
                                   << QRectF(600, 1050, 15, 15);
    QTest::newRow("last pixel is as far as the mouse reaches")
        << QPointF(0, 0) << QPointF(4485, 4485) << "0 0 299 299 / 89401" << QRectF(0, 0, 4485, 4485);
    QTest::newRow("22.5 twips is column 1")
        << QPointF(22.5, 29.9) << QPointF(4484.9, 44.99) << "1 1 298 2 / 297" << QRectF(15, 15, 4455, 15);
}

void TestRenderArea::completedSelection()
{
    QFETCH(QPointF, first);
    QFETCH(QPointF, second);
    QFETCH(QString, code);
    QFETCH(QRectF, outline);

    w->setrender->click();
    click(first.x(), first.y());
    click(second.x(), second.y());

    QCOMPARE(this->code(), code);
    const ui::Overlay *box = w->renderareabox;
    QCOMPARE(QRectF(box->x1, box->y1, box->x2, box->y2), outline);
    QCOMPARE(optionStates(), QList<bool>(16, true));
    for (const ui::Overlay *line : {w->pointline1, w->pointline2, w->Line1, w->Line2})
        QVERIFY2(!line->isVisible(), qPrintable(line->objectName()));

    // The dialog, never opened, holds the new numbers and stays hidden.
    const auto *form = w->findChild<ui::setrenderareaform *>();
    QVERIFY(form && !form->isVisible());
    const QString typed = form->x1text->text() + ' ' + form->y1text->text() + ' ' + form->x2text->text() + ' ' +
                          form->y2text->text() + " / " + w->totpixels->text();
    QCOMPARE(typed, code);
}

void TestRenderArea::colorPick_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("color");
    // A white picture with a blue column 2 and a green row 3, under the outline along column 0.
    QTest::newRow("22.5 twips rounds to the even column 2") << 22.5 << 2250.0 << 16711680;
    QTest::newRow("37.5 twips rounds to the even column 2") << 37.5 << 2250.0 << 16711680;
    QTest::newRow("22.4 twips stays in column 1") << 22.4 << 2250.0 << 16777215;
    QTest::newRow("52.5 twips rounds to the even row 4") << 2250.0 << 52.5 << 16777215;
    QTest::newRow("52.4 twips stays in row 3") << 2250.0 << 52.4 << 65280;
    QTest::newRow("the outline is picked as shown") << 0.0 << 2250.0 << 255;
}

void TestRenderArea::colorPick()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(int, color);

    QImage picture(300, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int i = 0; i < 300; ++i) {
        picture.setPixel(2, i, qRgb(0, 0, 255));
        picture.setPixel(i, 3, qRgb(0, 255, 0));
    }
    w->mainpic->setPicture(picture);

    click(x, y);
    QCOMPARE(w->showignorecolor->color(), color);
    QCOMPARE(code(), "0 0 300 300 / 90000");
    QCOMPARE(optionStates(), QList<bool>(16, true));
}

void TestRenderArea::mouseButtonsActAlike_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers();
    QTest::newRow("right") << Qt::RightButton << Qt::KeyboardModifiers();
    QTest::newRow("middle with shift") << Qt::MiddleButton << Qt::KeyboardModifiers(Qt::ShiftModifier);
}

// Real presses on the picture box, whose drawing area starts inside a one-pixel border.
void TestRenderArea::mouseButtonsActAlike()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);

    QTest::mouseClick(w->mainpic, button, modifiers, QPoint(1, 100));
    QCOMPARE(w->showignorecolor->color(), 255);

    w->setrender->click();
    // A press on the border would make a corner in column -1 or 300.
    QTest::mouseClick(w->mainpic, button, modifiers, QPoint(0, 50));
    QVERIFY(!w->pointline1->isVisible());
    QTest::mouseClick(w->mainpic, button, modifiers, QPoint(11, 21));
    QTest::mouseClick(w->mainpic, button, modifiers, QPoint(301, 301));
    QCOMPARE(code(), "0 0 300 300 / 90000");
    QTest::mouseClick(w->mainpic, button, modifiers, QPoint(51, 81));
    QCOMPARE(code(), "10 20 50 80 / 2400");
}

void TestRenderArea::escCancelsSelection_data()
{
    QTest::addColumn<bool>("firstCornerSet");
    QTest::addColumn<bool>("focusInPicture");
    QTest::newRow("before the first corner") << false << true;
    QTest::newRow("first corner in the last column") << true << true;
    QTest::newRow("picture without focus") << true << false;
}

void TestRenderArea::escCancelsSelection()
{
    QFETCH(bool, firstCornerSet);
    QFETCH(bool, focusInPicture);

    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->setrender->click();
    if (firstCornerSet) {
        click(4485, 300);
        click(4499, 4499); // column 299 admits no second corner
    }
    if (focusInPicture)
        w->mainpic->setFocus();
    else
        w->mainpic->clearFocus();
    QTest::keyClick(focusInPicture ? static_cast<QWidget *>(w->mainpic) : w.get(), Qt::Key_Escape);

    QCOMPARE(optionStates(), QList<bool>(16, true));
    for (const ui::Overlay *line : {w->pointline1, w->pointline2, w->Line1, w->Line2})
        QVERIFY2(!line->isVisible(), qPrintable(line->objectName()));
    QCOMPARE(w->setrenderstatus, "false");
    QCOMPARE(code(), "0 0 300 300 / 90000");

    // A new selection starts from scratch.
    w->setrender->click();
    click(150, 150);
    click(300, 300);
    QCOMPARE(code(), "10 10 20 20 / 100");
    QVERIFY(fake->messages.isEmpty());
}

void TestRenderArea::brokenFirstCornerEndsProgram()
{
    w->setrender->click();
    w->renderstartpoint = "1 2 3";
    click(1500, 1500);

    QCOMPARE(fake->messageTexts(), QStringList{"Error: Ubound splitrenderareacode <> 1"});
    QCOMPARE(fake->messages[0].title, "quennetproject");
    QVERIFY(fake->quitCalled);
    QCOMPARE(code(), "0 0 300 300 / 90000");
}

QTEST_MAIN(TestRenderArea)
#include "tst_renderarea.moc"
