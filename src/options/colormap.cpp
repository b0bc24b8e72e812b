// SPDX-License-Identifier: MIT
#include "colormap.h"

#include "widgets/layout.h"

#include <QMouseEvent>
#include <QPainter>

namespace ui {

namespace {

constexpr int kCell = 10;
constexpr int kColumns = 20;
constexpr int kRows = 12;
constexpr int kBorder = 1;

// Channel values of the six levels; green has a table of its own.
constexpr int kRedBlueLevels[6] = {0, 49, 99, 156, 206, 255};
constexpr int kGreenLevels[6] = {0, 48, 101, 154, 207, 255};

QColor fromLevels(int red, int green, int blue)
{
    return QColor(kRedBlueLevels[red], kGreenLevels[green], kRedBlueLevels[blue]);
}

QColor cellColor(int column, int row)
{
    if (column == 0) {
        if (row < 6) return fromLevels(row, row, row);
        static const QColor pure[6] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan, Qt::magenta};
        return pure[row - 6];
    }
    if (column == 1) return Qt::black;
    return fromLevels((column - 2) / 6 + 3 * (row / 6), (column - 2) % 6, row % 6);
}

} // namespace

QImage colorMapPicture()
{
    QImage map(kColumns * kCell, kRows * kCell, QImage::Format_RGB32);
    map.fill(Qt::black);
    QPainter painter(&map);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column)
            painter.fillRect(column * kCell + 1, row * kCell + 1, kCell - 1, kCell - 1, cellColor(column, row));
    }
    return map;
}

ColorMap::ColorMap(QWidget *parent) : QWidget(parent), m_picture(colorMapPicture())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColorMap::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(kBorder, kBorder, m_picture);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColorMap::mousePressEvent(QMouseEvent *event)
{
    const QPointF at = event->position() - QPointF(kBorder, kBorder);
    if (at.x() < 0 || at.y() < 0 || at.x() >= m_picture.width() || at.y() >= m_picture.height()) return;
    emit mouseDown(at.x() * kTwipsPerPixel, at.y() * kTwipsPerPixel);
}

} // namespace ui
