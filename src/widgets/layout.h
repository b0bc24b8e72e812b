// SPDX-License-Identifier: MIT
// The twips geometry of the window layout, and the frames and tool windows placed by it.
#pragma once

#include <QIcon>
#include <QLabel>
#include <QRect>
#include <QWidget>

class QGroupBox;

namespace ui {

// Layout is given in twips; the program works at 15 twips to the pixel.
constexpr int kTwipsPerPixel = 15;
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

// Creates a child widget with its object name and places it, in twips, in its parent.
template <class W> W *place(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    auto *widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(twipsRect(left, top, width, height));
    if constexpr (std::is_base_of_v<class Shape, W>) widget->setWidthTwips(width);
    return widget;
}

// A control with a caption or text: a label (plain text, never markup), a button or a text box.
template <class W>
W *placeWithText(QWidget *parent, const char *name, const QString &text, int left, int top, int width, int height)
{
    auto *widget = place<W>(parent, name, left, top, width, height);
    if constexpr (std::is_base_of_v<QLabel, W>) widget->setTextFormat(Qt::PlainText);
    widget->setText(text);
    return widget;
}

// Names, captions and places a frame of the main window, in twips.
void setUpFrame(QGroupBox *frame, const char *name, const QString &caption, int left, int top, int width, int height);

// The small windows beside the main one: a fixed tool window with a close box only.
inline constexpr Qt::WindowFlags kToolWindowFlags =
    Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
// Names, titles and sizes such a window (client area in twips) and gives it its owner's font, for
// which the layout was drawn; a window of its own would otherwise take the toolkit's default.
void setUpToolWindow(QWidget *window, const char *name, const QString &title, int width, int height);

// The program's icon, the artwork installed for the desktop, for every window's title bar.
QIcon programIcon();

} // namespace ui
