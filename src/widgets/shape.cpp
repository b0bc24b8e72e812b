// SPDX-License-Identifier: MIT
#include "widgets/shape.h"

#include "widgets/layout.h"
#include "widgets/systemcolors.h"

#include <QPainter>

namespace ui {

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

} // namespace ui
