// SPDX-License-Identifier: MIT
// Captions shown whole: how much room a control's caption needs, and widening into it.
#pragma once

#include <QLabel>
#include <QList>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace ui {

// The size control needs to show the whole of its caption (a button's, check box's, option
// button's, label's or frame's, or each item of a combo box) in its own font: the text plus the
// style's margins, and an indicator's height. Its own size where it has no caption.
QSize captionSize(const QWidget *control);
// Whether no character but blanks of label's caption lies under other, a rectangle of its parent.
bool wordsClearOf(const QLabel *label, const QRect &other);
// The smallest growth of control, rightwards and downwards, that shows its whole caption while
// covering no sibling it does not cover already and staying inside its parent; its own geometry
// when it fits, empty when no such room is free or a control placed over it hides its words.
QRect captionRoom(const QWidget *control);

// The controls of window that show a caption, by their names (the toolkit's inner parts left out).
QList<QWidget *> captionedControls(const QWidget *window);
// Widens every captioned control of window that needs it into its room; false when one had none.
bool widenToCaptions(const QWidget *window, bool apply = true);

} // namespace ui
