// SPDX-License-Identifier: MIT
// The render area dialog: typing the four numbers of the render area.
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

using ui::setrenderareaform;

class TestRenderAreaDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void opensAsToolWindowWithFocusInY1();
    void refusals_data();
    void refusals();
    void setApplies_data();
    void setApplies();
    void setDuringSelectionIsRefused();
    void cancelKeepsTextsCloseBoxDiscardsThem();

private:
    setrenderareaform *open();
    void type(const QStringList &texts);
    QStringList texts() const;
    QString code() const { return w->renderareapoint->text() + " / " + w->totpixels->text(); }

    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<ui::quennet> w;
    setrenderareaform *form = nullptr;
};

void TestRenderAreaDialog::init()
{
    w.reset();
    fake = std::make_unique<FakePlatform>();
    w = std::make_unique<ui::quennet>(*fake);
    w->show();
}

// Opens the dialog as the user does, with a click on the render area caption.
setrenderareaform *TestRenderAreaDialog::open()
{
    QTest::mouseClick(w->renderareapoint, Qt::LeftButton);
    form = w->findChild<setrenderareaform *>();
    return form;
}

// x1, y1, x2, y2
void TestRenderAreaDialog::type(const QStringList &texts)
{
    form->x1text->setText(texts[0]);
    form->y1text->setText(texts[1]);
    form->x2text->setText(texts[2]);
    form->y2text->setText(texts[3]);
}

QStringList TestRenderAreaDialog::texts() const
{
    return {form->x1text->text(), form->y1text->text(), form->x2text->text(), form->y2text->text()};
}

void TestRenderAreaDialog::opensAsToolWindowWithFocusInY1()
{
    QVERIFY(open() && form->isVisible());
    QCOMPARE(form->windowTitle(), "Set Render Area");
    QCOMPARE(form->windowType(), Qt::Tool);
    QCOMPARE(form->minimumSize(), QSize(252, 58));
    QCOMPARE(form->maximumSize(), QSize(252, 58));
    QCOMPARE(texts(), QStringList({"0", "0", "300", "300"}));
    QCOMPARE(form->x1text->maxLength(), 3);

    QVERIFY(QTest::qWaitForWindowActive(form));
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, QStringList({"y1text", "x1text", "x2text", "y2text", "setnewvalue", "cancelb", "y1text"}));
    // Neither Enter nor Esc works a button.
    QTest::keyClick(form->y1text, Qt::Key_Return);
    QTest::keyClick(form->y1text, Qt::Key_Escape);
    QVERIFY(form->isVisible());
    QVERIFY(fake->messages.isEmpty());
}

void TestRenderAreaDialog::refusals_data()
{
    QTest::addColumn<QStringList>("typed"); // x1, y1, x2, y2
    QTest::addColumn<QString>("message");
    QTest::newRow("x1 of 300 leaves no room for x2")
        << QStringList{"300", "0", "300", "300"} << "X2 value have to be between 301 and 300";
    QTest::newRow("x2 message shows typed x1 plus one, not the rounded")
        << QStringList{"9.5", "0", "10", "300"} << "X2 value have to be between 10.5 and 300";
    QTest::newRow("negative y1") << QStringList{"0", "-1", "300", "300"} << "Y1 value have to be between 0 and 300";
    QTest::newRow("empty x2") << QStringList{"0", "0", "", "300"} << "X2 value have to be numeric.";
    QTest::newRow("only the first non-numeric box is reported")
        << QStringList{"a", "0", "", "300"} << "X1 value have to be numeric.";
    QTest::newRow("numbers checked before ranges")
        << QStringList{"999", "0", "300", "1x"} << "Y2 value have to be numeric.";
    QTest::newRow("x2 equal to x1") << QStringList{"20", "0", "20", "300"} << "X2 value have to be between 21 and 300";
    QTest::newRow("y2 equal to y1") << QStringList{"0", "20", "300", "20"} << "Y2 value have to be between 21 and 300";
    QTest::newRow("x1 above 300") << QStringList{"301", "0", "300", "300"} << "X1 value have to be between 0 and 300";
    QTest::newRow("y2 above 300") << QStringList{"0", "0", "300", "301"} << "Y2 value have to be between 1 and 300";
    QTest::newRow("x2 rounding onto x1") << QStringList{"10", "0", "10.5", "300"}
                                         << "X2 value have to be between 11 and 300";
    QTest::newRow("number beyond 16 bits")
        << QStringList{"0", "0", "99999", "300"} << "X2 value have to be between 1 and 300";
}

void TestRenderAreaDialog::refusals()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, message);

    open();
    // Code can put more into a box than the three characters a user may type.
    for (QLineEdit *box : form->findChildren<QLineEdit *>())
        box->setMaxLength(5);
    type(typed);
    form->setnewvalue->click();

    QCOMPARE(fake->messageTexts(), QStringList{message});
    QCOMPARE(fake->messages[0].title, "quennetproject");
    QVERIFY(!fake->messages[0].systemModal);
    QVERIFY(form->isVisible());
    QCOMPARE(texts(), typed);
    QCOMPARE(code(), "0 0 300 300 / 90000");
}

void TestRenderAreaDialog::setApplies_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QRectF>("outline");
    QTest::newRow("defaults") << QStringList{"0", "0", "300", "300"} << "0 0 300 300 / 90000"
                              << QRectF(0, 0, 4500, 4500);
    QTest::newRow("2.5 goes down to the even 2, 1.5 up to it")
        << QStringList{"2.5", "1.5", "300", "300"} << "2 2 300 300 / 88804" << QRectF(30, 30, 4470, 4470);
    QTest::newRow("signs and spaces") << QStringList{" 5 ", "+7", "9", "8"} << "5 7 9 8 / 4" << QRectF(75, 105, 60, 15);
}

void TestRenderAreaDialog::setApplies()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, code);
    QFETCH(QRectF, outline);

    open();
    type(typed);
    form->setnewvalue->click();

    QVERIFY(fake->messages.isEmpty());
    QCOMPARE(this->code(), code);
    const ui::Overlay *box = w->renderareabox;
    QCOMPARE(QRectF(box->x1, box->y1, box->x2, box->y2), outline);
    QVERIFY(!form->isVisible());
    // The boxes keep what was typed, even where the area took the rounded number.
    QCOMPARE(open(), form);
    QCOMPARE(texts(), typed);

    // A mouse selection afterwards leaves its numbers in the boxes.
    form->cancelb->click();
    w->setrender->click();
    emit w->mainpic->mouseDown(1, 0, 150, 300);
    emit w->mainpic->mouseDown(2, 0, 450, 600);
    QCOMPARE(this->code(), "10 20 30 40 / 400");
    QVERIFY(!form->isVisible());
    QCOMPARE(texts(), QStringList({"10", "20", "30", "40"}));
}

void TestRenderAreaDialog::setDuringSelectionIsRefused()
{
    open();
    type({"1", "2", "3", "4"});
    w->setrender->click();
    QVERIFY(!form->isVisible());

    form->setnewvalue->click();
    QCOMPARE(fake->messageTexts(), QStringList{"Cant set render area..."});
    QCOMPARE(fake->messages[0].title, "quennetproject");
    QVERIFY(fake->messages[0].systemModal);
    QCOMPARE(code(), "0 0 300 300 / 90000");
    QCOMPARE(texts(), QStringList({"1", "2", "3", "4"}));
}

void TestRenderAreaDialog::cancelKeepsTextsCloseBoxDiscardsThem()
{
    open();
    type({"5", "6", "abc", ""});
    form->cancelb->click();
    QVERIFY(!form->isVisible());
    QCOMPARE(code(), "0 0 300 300 / 90000");
    QVERIFY(open()->isVisible());
    QCOMPARE(texts(), QStringList({"5", "6", "abc", ""}));

    QPointer<setrenderareaform> closed = form;
    form->close();
    QTRY_VERIFY(!closed);
    QVERIFY(open()->isVisible());
    QCOMPARE(texts(), QStringList({"0", "0", "300", "300"}));
    QCOMPARE(code(), "0 0 300 300 / 90000");

    // A closed dialog is forgotten at once, so a selection made before it is gone fills the next.
    closed = form;
    form->close();
    w->setrender->click();
    emit w->mainpic->mouseDown(1, 0, 15, 30);
    emit w->mainpic->mouseDown(1, 0, 45, 60);
    QTRY_VERIFY(!closed);
    open();
    QCOMPARE(texts(), QStringList({"1", "2", "3", "4"}));
    QVERIFY(fake->messages.isEmpty());
}

QTEST_MAIN(TestRenderAreaDialog)
#include "tst_renderareadialog.moc"
