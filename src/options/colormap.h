// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QWidget>

namespace ui {

// The chooser's fixed colour map, 200 x 120 pixels: 20 x 12 cells of 10 x 10 with black grid lines
// along the first row and column of every cell.
QImage colorMapPicture();

// The map shown unscaled inside a flat one-pixel border. Presses on the picture are reported in
// twips of the picture, whatever the button; presses on the border are not.
class ColorMap : public QWidget
{
    Q_OBJECT
public:
    explicit ColorMap(QWidget *parent = nullptr);
    const QImage &picture() const { return m_picture; }

signals:
    void mouseDown(double x, double y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
};

} // namespace ui
