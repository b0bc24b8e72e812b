// SPDX-License-Identifier: MIT
// Small controls the standard widgets lack, and the twips geometry of the window layout.
#pragma once

#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QRect>
#include <QWidget>

#include <cstdint>

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

// System colour references, 0x80000000 + index, as the palette shows them.
constexpr int32_t kWindowBackground = int32_t(0x80000005);
constexpr int32_t kDesktop = int32_t(0x80000001);

// A colour value 0x00BBGGRR, or a system colour reference resolved through the palette.
QColor resolveColor(int32_t value, const QPalette &palette);

// A label that reports clicks, as the render area label does.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

// A rectangle shape: an outline, or filled in a colour (the progress bar).
class Shape : public QWidget
{
    Q_OBJECT
public:
    explicit Shape(QWidget *parent = nullptr);
    void setFill(int32_t color);
    // The progress bar grows from its left edge; its width is kept in twips.
    int widthTwips() const { return m_widthTwips; }
    void setWidthTwips(int width);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_filled = false;
    int32_t m_fill = 0;
    int m_widthTwips = 0;
};

// A picture box used as a colour swatch: its background colour, and optionally a box drawn over
// it in another colour. Setting the background clears what was drawn.
class ColorSwatch : public QWidget
{
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget *parent = nullptr);
    int32_t color() const { return m_color; }
    void setColor(int32_t color);
    // A filled box from (x1, y1) to (x2, y2), in twips of the swatch's inner area.
    void drawBox(int x1, int y1, int x2, int y2, int32_t color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int32_t m_color = kWindowBackground;
    bool m_hasBox = false;
    QRect m_box;
    int32_t m_boxColor = 0;
};

} // namespace ui
