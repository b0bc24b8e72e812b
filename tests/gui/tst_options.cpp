// SPDX-License-Identifier: MIT
// The options of a conversion: the render area (chosen on the picture or typed into its dialog),
// colour picks, the boxes kept to their lists, message presets, the ignore list and its chooser.
#include "support/fakeplatform.h"
#include "support/table.h"

#include "mainwindow/quennet.h"
#include "options/choosecolor.h"
#include "options/colormap.h"
#include "picture/picturebox.h"
#include "picture/pictureframe.h"
#include "picture/setrenderareaform.h"
#include "widgets/colorswatch.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {
// Code / pixel total / outline in twips, as at start.
const QString kStart = "0 0 300 300 / 90000 / 0 0 4500 4500";
const QString kInvalid = "The color code is invalid, please use a new color. [quennetproject]";
} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private slots:

    void init()
    {
        w.reset();
        fake = std::make_unique<FakePlatform>();
        w = std::make_unique<ui::quennet>(*fake);
        w->show();
    }

    // Clicks on the picture after Set render area: the first corner, then second ones. Over each second
    // one the crosshair is red ("r") where it would be refused and green ("g") elsewhere, for the
    // column's line, then the row's; a refused corner leaves the selection waiting.
    void selection_data()
    {
        const auto row = columns<QList<QPointF>, QString, QString>({"corners", "crosshairs", "code"});
        row("smallest area", {{600, 1050}, {615, 1065}}, "gg", "40 70 41 71 / 1 / 600 1050 15 15");
        row("farthest", {{0, 0}, {4485, 4485}}, "gg", "0 0 299 299 / 89401 / 0 0 4485 4485");
        row("22.5 floors", {{22.5, 29.9}, {4484.9, 44.9}}, "gg", "1 1 298 2 / 297 / 15 15 4455 15");
        // From pixel (100, 100): same column, same row, left, above, then right and below.
        row("refused corners", {{1500, 1500}, {1514.9, 2250}, {2250, 1500}, {750, 2250}, {2250, 750}, {2250, 2250}},
            "rg gr rg gr gg", "100 100 150 150 / 2500 / 1500 1500 750 750");
        row("a first corner in the last column admits none", {{4485, 300}, {4499, 4499}}, "rg", kStart);
    }

    void selection()
    {
        QFETCH(QList<QPointF>, corners);
        QFETCH(QString, code);
        control<QPushButton>(*w, "setrender")->click();
        click(corners[0].x(), corners[0].y());
        QStringList seen;
        for (const QPointF &corner : corners.mid(1)) {
            emit control<ui::PictureBox>(*w, "mainpic")->mouseMove(0, 0, corner.x(), corner.y());
            seen << QString(control<ui::Overlay>(*w, "Line1")->color() == Qt::red ? "r" : "g") +
                        (control<ui::Overlay>(*w, "Line2")->color() == Qt::red ? "r" : "g");
            click(corner.x(), corner.y());
        }
        QTEST(seen.join(' '), "crosshairs");
        QCOMPARE(this->code(), code);
        QCOMPARE(enabledOptions(), code == kStart ? 0 : 16);
        // The dialog, never opened, holds the new numbers.
        QCOMPARE(boxes().replace(',', ' '), control<QLabel>(*w, "renderareapoint")->text());
    }

    // Real presses, here with the right button, on the border around the drawing area are ignored.
    // A pick rounds half to even where a selection floors: each position lands on the red outline.
    void pointerOnThePicture()
    {
        control<QPushButton>(*w, "setrender")->click();
        // A press on the border would make a corner in column -1 or 300, so that the last press would
        // be refused or give another area.
        for (const QPoint at : {QPoint(0, 50), QPoint(3, 5), QPoint(301, 301), QPoint(51, 81)})
            QTest::mouseClick(control<ui::PictureBox>(*w, "mainpic"), Qt::RightButton, {}, at);
        QCOMPARE(code(), "2 4 50 80 / 3648 / 30 60 720 1140"); // the outline runs along column 2 and row 4

        for (const QPointF at : {QPointF(22.5, 600), QPointF(37.5, 600), QPointF(600, 52.5)}) {
            control<ui::ColorSwatch>(*w, "showignorecolor")->setColor(0);
            click(at.x(), at.y());
            QCOMPARE(control<ui::ColorSwatch>(*w, "showignorecolor")->color(), 255);
        }
    }

    // Esc leaves a selection stuck in the last column, whether the picture or the window has the
    // focus. A broken first corner ends the program.
    void stuckOrBrokenSelection()
    {
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        for (QWidget *focus : QList<QWidget *>{control<ui::PictureBox>(*w, "mainpic"), w.get()}) {
            control<QPushButton>(*w, "setrender")->click();
            click(4485, 300);
            focus->setFocus();
            QTest::keyClick(focus, Qt::Key_Escape);
            QVERIFY(enabledOptions() == 16 && picture()->setrenderstatus == "false" &&
                    !control<ui::Overlay>(*w, "Line1")->isVisible() &&
                    !control<ui::Overlay>(*w, "Line2")->isVisible() &&
                    !control<ui::Overlay>(*w, "pointline1")->isVisible());
            QCOMPARE(code(), kStart);
        }

        control<QPushButton>(*w, "setrender")->click();
        picture()->renderstartpoint = "1 2 3";
        click(1500, 1500);
        QCOMPARE(fake->said, QStringList{"Error: Ubound splitrenderareacode <> 1 [quennetproject]"});
        QCOMPARE(fake->exitCode, 1);
    }

    void dialogRefusals_data()
    {
        const auto row = columns<QString, QString>({"typed", "message"}); // typed: x1,y1,x2,y2
        row("x1 of 300 leaves no room", "300,0,300,300", "X2 value have to be between 301 and 300");
        row("x1 plus one as typed", "9.5,0,10,300", "X2 value have to be between 10.5 and 300");
        row("negative y1", "0,-1,300,300", "Y1 value have to be between 0 and 300");
        row("empty x2", "0,0,,300", "X2 value have to be numeric.");
        row("only the first non-numeric box", "a,0,,300", "X1 value have to be numeric.");
        row("numbers before ranges", "999,0,300,1x", "Y2 value have to be numeric.");
        row("number beyond 16 bits", "99999,0,300,300", "X1 value have to be between 0 and 300");
    }

    void dialogRefusals()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);

        open();
        // Code can put more into a box than the three characters a user may type.
        for (QLineEdit *box : form()->findChildren<QLineEdit *>())
            box->setMaxLength(5);
        boxes(typed);
        form()->setnewvalue->click();
        QCOMPARE(fake->said, QStringList{message + " [quennetproject]"});
        QCOMPARE(code(), kStart);
    }

    void dialogSetCancelAndClose()
    {
        open();
        QVERIFY(!form()->windowIcon().pixmap(16).isNull()); // the program's, not the toolkit's blank
        boxes("2.5,1.5,300,300");                           // 2.5 goes down to the even 2, 1.5 up to it
        form()->setnewvalue->click();
        QCOMPARE(code(), "2 2 300 300 / 88804 / 30 30 4470 4470");
        QCOMPARE(boxes(), "2.5,1.5,300,300");

        control<QPushButton>(*w, "setrender")->click();
        form()->setnewvalue->click();
        QCOMPARE(fake->said, QStringList{"Cant set render area... [quennetproject, system-modal]"});
        // The selection goes on and leaves its numbers in the boxes.
        click(150, 300);
        click(450, 600);
        QCOMPARE(boxes(), "10,20,30,40");

        open();
        boxes("5,6,abc,");
        QTest::keyClick(form()->y1text, Qt::Key_Escape);
        QVERIFY(!form()->isVisible());
        open();
        QTest::keyClick(form()->cancelb, Qt::Key_Return);
        QVERIFY(!form()->isVisible());
        open();
        QCOMPARE(boxes(), "5,6,abc,");
        // The closed dialog is forgotten at once, before it is deleted: opening again shows a fresh one.
        form()->close();
        open();
        QCOMPARE(boxes(), "0,0,300,300");
        QCOMPARE(code(), "10 20 30 40 / 400 / 150 300 300 300");
    }

    // After "Own message" is picked and "TYPED" typed into the message box, action "set" puts text into
    // the box as a program would, "end" types it at the end of the box, "pick" picks it from the list.
    void boxesKeepToListsAndPresets_data()
    {
        // shown: for the presets, with the message and whether it is locked
        const auto row = columns<QString, QString, QString, QString>({"box", "action", "text", "shown"});
        row("quality 100 less a 0 is 10", "colorquality", "end", "\b", "10");
        row("quality 090", "colorquality", "set", "090", "100");
        row("font size emptied", "fontsizeC", "set", "", "1");
        row("Dec", "quickmessage", "pick", "Dec", "Dec: 0123456789 locked");
        row("Own message empties", "quickmessage", "pick", "Own message", "Own message: ");
        row("typing returns to Bin", "quickmessage", "end", "x", "Bin: 01 locked");
    }

    void boxesKeepToListsAndPresets()
    {
        QFETCH(QString, box);
        QFETCH(QString, action);
        QFETCH(QString, text);

        pick(control<QComboBox>(*w, "quickmessage"), "Own message");
        QTest::keyClicks(control<QLineEdit>(*w, "msgtext"), "TYPED");
        auto *combo = w->findChild<QComboBox *>(box);
        if (action == "pick")
            pick(combo, text);
        else if (action == "end")
            QTest::keyClicks(combo->lineEdit(), text);
        else
            combo->setEditText(text);
        QString now = combo->currentText();
        if (combo == control<QComboBox>(*w, "quickmessage"))
            now += ": " + control<QLineEdit>(*w, "msgtext")->text() +
                   (control<QLineEdit>(*w, "msgtext")->isReadOnly() ? " locked" : "");
        QTEST(now, "shown");
    }

    void useTakesOnlyAColor_data()
    {
        // choice: a map cell clicked after another colour, or a text typed; outcome: the new entry, or the message
        const auto row = columns<QVariant, QString>({"choice", "outcome"});
        row("column 7 row 0 is pure green", QPoint(75, 5), "255 > 65280");
        row("grid line", QPoint(70, 5), "255 > 0");
        row("column 8 row 7: red level 4, blue 1", QPoint(85, 75), "255 > 3211470");
        row("beyond white", "16777216", kInvalid);
        row("negative", "-1", kInvalid);
        row("leading zero", "0255", kInvalid);
    }

    void useTakesOnlyAColor()
    {
        QFETCH(QVariant, choice);

        add(255);
        QVERIFY(!chooser()->windowIcon().pixmap(16).isNull());
        clickMap(QPoint(15, 15)); // not black, so that a grid line must change it
        if (choice.typeId() == QMetaType::QPoint)
            clickMap(choice.toPoint());
        else
            chooser()->deccolortext->setText(choice.toString());
        chooser()->usecolor->click();
        QTEST((entries() + fake->said).join(" | "), "outcome");
        // Refused, the chooser stays open for another choice and the options locked.
        QCOMPARE(chooser()->isVisible(), entries().isEmpty());
        QCOMPARE(enabledOptions(), entries().isEmpty() ? 0 : 16);
    }

    // Entries through the chooser, the refusals of Add and Rem, and the swatch showing an entry.
    void ignoreListEntries()
    {
        control<QPushButton>(*w, "addignorelist")->click(); // nothing picked yet
        control<QPushButton>(*w, "removeignorelist")->click();
        add(255);
        chooser()->usecolor->click(); // a fresh chooser offers black
        // A pick on the picture while the chooser is open: Use stores it without Add's checks.
        add(0);
        control<ui::ColorSwatch>(*w, "showignorecolor")->setColor(255);
        clickMap(QPoint(75, 5)); // green
        chooser()->usecolor->click();
        control<QListWidget>(*w, "ignorelist")
            ->setCurrentRow(0); // "255 > 0": red on the swatch's left half, black on its right
        QCOMPARE(fake->pixelShown(control<ui::ColorSwatch>(*w, "showignorecolor"), QPoint(5, 18)), 255);
        QCOMPARE(fake->pixelShown(control<ui::ColorSwatch>(*w, "showignorecolor"), QPoint(35, 18)), 0);
        control<QPushButton>(*w, "addignorelist")->click(); // the selected entry's colour
        add(16777215);
        QCOMPARE(chooser()->deccolortext->text(), "65280"); // hidden by Use, the chooser kept its choice
        QVERIFY(chooser()->close());
        QCOMPARE(chooser()->deccolortext->text(), "0"); // closed, it forgot it and added nothing
        QCOMPARE(enabledOptions(), 16);
        QCOMPARE(entries(), (QStringList{"255 > 0", "255 > 65280"}));
        QCOMPARE(fake->said, (QStringList{kInvalid, "Select item from ignore list! [quennetproject]",
                                          "That color you have choose is already added! [quennetproject]"}));
        control<QListWidget>(*w, "ignorelist")->setCurrentRow(1);
        control<QPushButton>(*w, "removeignorelist")->click();
        QCOMPARE(entries(), QStringList{"255 > 0"});
    }

private:
    void click(double x, double y) { emit control<ui::PictureBox>(*w, "mainpic")->mouseDown(1, 0, x, y); }
    QString code() const
    {
        const QRectF box = control<ui::Overlay>(*w, "renderareabox")->rectangle();
        return control<QLabel>(*w, "renderareapoint")->text() + " / " + control<QLabel>(*w, "totpixels")->text() +
               QString::asprintf(" / %g %g %g %g", box.left(), box.top(), box.width(), box.height());
    }
    int enabledOptions() const
    {
        const QList<QWidget *> group = w->optionGroup();
        return std::count_if(group.begin(), group.end(), [](const QWidget *control) { return control->isEnabled(); });
    }
    // Opens the dialog as the user does, with a click on the render area caption.
    void open() { QTest::mouseClick(control<QLabel>(*w, "renderareapoint"), Qt::LeftButton); }
    ui::setrenderareaform *form() const { return picture()->renderAreaForm(); }
    // What the dialog's boxes hold, as "x1,y1,x2,y2", after typing typed into them unless it is null.
    QString boxes(const QString &typed = QString()) const
    {
        QStringList texts;
        for (QLineEdit *box : {form()->x1text, form()->y1text, form()->x2text, form()->y2text}) {
            if (!typed.isNull()) box->setText(typed.section(',', texts.size(), texts.size()));
            texts << box->text();
        }
        return texts.join(',');
    }
    // As a user picks: open the list, move to the item, press Enter.
    void pick(QComboBox *combo, const QString &item)
    {
        combo->showPopup();
        combo->view()->setCurrentIndex(combo->model()->index(combo->findText(item), 0));
        QTest::keyClick(combo->view(), Qt::Key_Return);
    }
    ui::PictureFrame *picture() const { return w->findChild<ui::PictureFrame *>(); }
    ui::choosecolor *chooser() const { return w->findChild<ui::choosecolor *>(); }
    void add(int32_t swatch) // after a pick of swatch on the picture
    {
        control<ui::ColorSwatch>(*w, "showignorecolor")->setColor(swatch);
        control<QPushButton>(*w, "addignorelist")->click();
    }
    // A press on the map inside its one-pixel border, at a pixel of the map's picture.
    void clickMap(QPoint pixel) { QTest::mouseClick(chooser()->colormap, Qt::LeftButton, {}, pixel + QPoint(1, 1)); }
    QStringList entries() const
    {
        QStringList texts;
        for (int i = 0; i < control<QListWidget>(*w, "ignorelist")->count(); ++i)
            texts << control<QListWidget>(*w, "ignorelist")->item(i)->text();
        return texts;
    }

    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<ui::quennet> w;
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
