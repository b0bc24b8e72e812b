// SPDX-License-Identifier: MIT
#include "widgets/colorswatch.h"

#include "widgets/layout.h"

#include <QPainter>

namespace ui {

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
