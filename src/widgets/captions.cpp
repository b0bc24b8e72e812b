// SPDX-License-Identifier: MIT
#include "widgets/captions.h"

#include "widgets/shape.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>

namespace ui {

QSize captionSize(const QWidget *control)
{
    const QFontMetrics metrics = control->fontMetrics();
    const QStyle *style = control->style();
    if (const auto *button = qobject_cast<const QPushButton *>(control)) {
        // The style's own size hint has a minimum width for looks; only the margins matter here.
        const int frame = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        return QSize(metrics.horizontalAdvance(button->text()) + style->pixelMetric(QStyle::PM_ButtonMargin) + frame,
                     metrics.height() + frame);
    }
    if (qobject_cast<const QCheckBox *>(control) || qobject_cast<const QRadioButton *>(control)) {
        const bool radio = qobject_cast<const QRadioButton *>(control);
        const int indicator = style->pixelMetric(
            radio ? QStyle::PM_ExclusiveIndicatorHeight : QStyle::PM_IndicatorHeight, nullptr, control);
        return QSize(control->sizeHint().width(), std::max(metrics.height(), indicator));
    }
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        if (label->wordWrap()) return QSize(label->width(), label->heightForWidth(label->width()));
        return label->sizeHint();
    }
    if (const auto *combo = qobject_cast<const QComboBox *>(control)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        const QRect field = style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        int widest = metrics.horizontalAdvance(combo->currentText());
        for (int i = 0; i < combo->count(); ++i)
            widest = std::max(widest, metrics.horizontalAdvance(combo->itemText(i)));
        return combo->size() + QSize(std::max(0, widest - field.width()), 0);
    }
    if (const auto *frame = qobject_cast<const QGroupBox *>(control)) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
        return frame->size().expandedTo(QSize(title.right() + 1, title.bottom() + 1));
    }
    return control->size();
}

bool wordsClearOf(const QLabel *label, const QRect &other)
{
    const QString text = label->text();
    const QFontMetrics metrics = label->fontMetrics();
    const QRect at = label->contentsRect().translated(label->pos());
    for (int i = 0; i < text.size(); ++i) {
        const int left = at.left() + metrics.horizontalAdvance(text.left(i));
        const int right = at.left() + metrics.horizontalAdvance(text.left(i + 1)) - 1;
        if (!text[i].isSpace() && left <= other.right() && right >= other.left()) return false;
    }
    return true;
}

QRect captionRoom(const QWidget *control)
{
    const QRect now = control->geometry();
    // A control placed over a label (across its middle, not just touching an edge) sits over its
    // blanks, between its words. Shapes are drawn beneath.
    if (const auto *label = qobject_cast<const QLabel *>(control); label && !label->wordWrap()) {
        for (const QWidget *sibling : control->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            const QRect over = sibling->geometry();
            if (sibling != control && !sibling->isWindow() && !qobject_cast<const Shape *>(sibling) &&
                over.intersects(now) && over.top() <= now.center().y() && over.bottom() >= now.center().y() &&
                !wordsClearOf(label, over))
                return QRect();
        }
    }
    const QRect needed(now.topLeft(), now.size().expandedTo(captionSize(control)));
    if (needed == now) return now;
    const QWidget *parent = control->parentWidget();
    const QRect inside = parent->contentsRect();
    if (needed.right() > std::max(now.right(), inside.right()) ||
        needed.bottom() > std::max(now.bottom(), inside.bottom()))
        return QRect();
    for (const QWidget *sibling : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (sibling != control && !sibling->isWindow() && !sibling->geometry().intersects(now) &&
            sibling->geometry().intersects(needed))
            return QRect();
    }
    return needed;
}

QList<QWidget *> captionedControls(const QWidget *window)
{
    QList<QWidget *> controls;
    for (QWidget *control : window->findChildren<QWidget *>()) {
        const QString name = control->objectName();
        if (name.isEmpty() || name.startsWith("qt_") || control->window() != window) continue;
        if (qobject_cast<QAbstractButton *>(control) || qobject_cast<QLabel *>(control) ||
            qobject_cast<QComboBox *>(control) || qobject_cast<QGroupBox *>(control))
            controls << control;
    }
    return controls;
}

bool widenToCaptions(const QWidget *window, bool apply)
{
    bool allFit = true;
    QList<QPair<QWidget *, QRect>> rooms;
    for (QWidget *control : captionedControls(window)) {
        const QRect room = captionRoom(control);
        allFit = allFit && !room.isEmpty();
        if (!apply && !allFit) return false;
        if (!room.isEmpty()) rooms.append({control, room});
    }
    if (!apply) return allFit;
    // Rooms are found from the places as drawn, then taken all at once.
    for (const auto &[control, room] : std::as_const(rooms))
        control->setGeometry(room);
    return allFit;
}

} // namespace ui
