// SPDX-License-Identifier: MIT
#include "controls.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>

namespace ui {

QColor resolveColor(int32_t value, const QPalette &palette)
{
    if (value >= 0) return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    switch (value) {
    case kWindowBackground:
        return palette.color(QPalette::Base);
    case kDesktop:
        return palette.color(QPalette::Highlight);
    default:
        return palette.color(QPalette::Window);
    }
}

void setUpFrame(QGroupBox *frame, const char *name, const QString &caption, int left, int top, int width, int height)
{
    frame->setObjectName(QString::fromLatin1(name));
    frame->setTitle(caption);
    frame->setGeometry(twipsRect(left, top, width, height));
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {48, 256})
        icon.addFile(QString(":/icons/lumirune-%1.png").arg(size), QSize(size, size));
    return icon;
}

void setUpToolWindow(QWidget *window, const char *name, const QString &title, int width, int height)
{
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowTitle(title);
    window->setWindowIcon(programIcon());
    if (window->parentWidget()) window->setFont(window->parentWidget()->font());
    window->setFixedSize(twipsRect(0, 0, width, height).size());
}

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    if (isEnabled()) emit clicked();
}

Shape::Shape(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::setFill(int32_t color)
{
    m_filled = true;
    m_fill = color;
    update();
}

void Shape::setWidthTwips(int width)
{
    m_widthTwips = width;
    resize(width / kTwipsPerPixel, height());
}

void Shape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_filled)
        painter.fillRect(rect(), resolveColor(m_fill, palette()));
    else
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

ColorSwatch::ColorSwatch(QWidget *parent) : QWidget(parent) {}

void ColorSwatch::setColor(int32_t color)
{
    m_color = color;
    m_hasBox = false;
    update();
}

void ColorSwatch::drawBox(int x1, int y1, int x2, int y2, int32_t color)
{
    m_hasBox = true;
    m_box = QRect(QPoint(x1 / kTwipsPerPixel, y1 / kTwipsPerPixel), QPoint(x2 / kTwipsPerPixel, y2 / kTwipsPerPixel));
    m_boxColor = color;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect inner = rect().adjusted(1, 1, -1, -1); // inside the flat one-pixel border
    painter.fillRect(inner, resolveColor(m_color, palette()));
    if (m_hasBox) {
        painter.setClipRect(inner);
        painter.fillRect(m_box.translated(inner.topLeft()), resolveColor(m_boxColor, palette()));
    }
    painter.setClipping(false);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace ui
