// SPDX-License-Identifier: MIT
// Every caption of the window shows whole in the window's font, measured as the style lays the
// text out, in English and in every language the program ships; run at the screen scale the test
// is started with (QT_SCALE_FACTOR).
#include "support/fakeplatform.h"

#include "mainwindow/quennet.h"
#include "picture/pictureframe.h"
#include "platform/translations.h"
#include "widgets/captions.h"
#include "widgets/colorswatch.h"
#include "widgets/shape.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QtTest>

namespace {

// Why control does not show its whole caption, or empty when it does.
QString clipped(const QWidget *control)
{
    const QFontMetrics metrics = control->fontMetrics();
    const QStyle *style = control->style();
    const QSize size = control->size();
    QSize needed;
    if (const auto *button = qobject_cast<const QPushButton *>(control)) {
        // Inside the bevel, with the style's margin around the text.
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect inside = style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        needed = QSize(metrics.horizontalAdvance(button->text()) + style->pixelMetric(QStyle::PM_ButtonMargin),
                       metrics.height()) +
                 size - inside.size();
    } else if (const auto *box = qobject_cast<const QAbstractButton *>(control)) {
        const bool radio = qobject_cast<const QRadioButton *>(box);
        needed = QSize(box->sizeHint().width(),
                       std::max(metrics.height(), style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorHeight
                                                                           : QStyle::PM_IndicatorHeight)));
    } else if (const auto *label = qobject_cast<const QLabel *>(control)) {
        needed = label->wordWrap() ? QSize(size.width(), label->heightForWidth(size.width())) : label->sizeHint();
    } else if (const auto *combo = qobject_cast<const QComboBox *>(control)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        const QRect field = style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        int widest = 0;
        for (int i = 0; i < combo->count(); ++i)
            widest = std::max(widest, metrics.horizontalAdvance(combo->itemText(i)));
        needed = QSize(widest + size.width() - field.width(), 0);
    } else if (const auto *frame = qobject_cast<const QGroupBox *>(control)) {
        needed = QSize(metrics.horizontalAdvance(frame->title()), metrics.height());
    }
    // A control across the middle of a label covers a run of its blanks and none of its words; a
    // shape (the progress bar) lies beneath.
    const auto *label = qobject_cast<const QLabel *>(control);
    for (const QWidget *over : control->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const int middle = control->geometry().center().y();
        if (!label || label->wordWrap() || over == control || qobject_cast<const ui::Shape *>(over) ||
            !over->geometry().intersects(control->geometry()) || over->y() > middle ||
            over->geometry().bottom() < middle)
            continue;
        const QString text = label->text();
        const int blanks = text.indexOf("  ");
        const int words = blanks < 0 ? text.size() : text.indexOf(QRegularExpression("\\S"), blanks);
        const int left = over->x() - control->x();
        if (metrics.horizontalAdvance(text.left(blanks < 0 ? text.size() : blanks)) > left ||
            (blanks >= 0 && metrics.horizontalAdvance(text.left(words)) <= left + over->width() - 1))
            return control->objectName() + " has words under " + over->objectName();
    }
    if (needed.width() <= size.width() && needed.height() <= size.height()) return QString();
    const auto text = [](QSize s) { return QString("%1 x %2").arg(s.width()).arg(s.height()); };
    return QString("%1 needs %2, has %3").arg(control->objectName(), text(needed), text(size));
}

} // namespace

class TestCaptions : public QObject
{
    Q_OBJECT

private slots:
    void captionsShowWhole_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << "en";
        for (QString file : QDir(":/i18n").entryList({"lumirune_*.qm"})) {
            const QString language = file.remove("lumirune_").remove(".qm");
            QTest::newRow(qPrintable(language)) << language;
        }
    }

    void captionsShowWhole()
    {
        QFETCH(QString, language);
        // The captions read back are the language's own, not the English they are written in.
        QCOMPARE(platform::useTranslations(QLocale(language)), language != "en");
        FakePlatform fake;
        ui::quennet w(fake);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // The scale asked for is the one drawn at.
        QCOMPARE(w.devicePixelRatio(), qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                                           ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                                           : 1.0);
        // The small windows take the window's font: the render area dialog and the colour chooser.
        w.findChild<ui::PictureFrame *>()->renderAreaForm();
        control<ui::ColorSwatch>(w, "showignorecolor")->setColor(255);
        control<QPushButton>(w, "addignorelist")->click();
        QStringList faults;
        int measured = 0;
        for (const QWidget *control : w.findChildren<QWidget *>()) {
            if (control->objectName().isEmpty() || control->objectName().startsWith("qt_")) continue;
            ++measured;
            const QString fault = clipped(control);
            if (!fault.isEmpty()) faults << fault;
        }
        platform::useTranslations(QLocale("en"));
        QCOMPARE(control<QPushButton>(w, "loadpic")->text() == "Load picture", language == "en");
        QVERIFY(measured > 50); // every named control of the windows, hidden frames included
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    // At 8 points the labels of the right column widen into the free space beside them, where they
    // show whole; "Pixel number:" has no room before the number it names, so 8 points is refused.
    void widening()
    {
        FakePlatform fake;
        ui::quennet w(fake);
        QFont larger = w.font();
        larger.setPointSize(8);
        w.setFont(larger);
        const QRect info3 = control(w, "info3")->geometry(), convertinfo1 = control(w, "convertinfo1")->geometry();
        QVERIFY(!clipped(control(w, "info3")).isEmpty());
        QVERIFY(!ui::widenToCaptions(&w));
        QVERIFY(clipped(control(w, "info3")).isEmpty());
        QVERIFY(control(w, "info3")->geometry().topLeft() == info3.topLeft() &&
                control(w, "info3")->width() > info3.width());
        QCOMPARE(control(w, "convertinfo1")->geometry(), convertinfo1); // the left column is not widened
        QVERIFY(!clipped(control(w, "convertinfo1")).isEmpty());
    }
};

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
