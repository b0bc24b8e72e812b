// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QObject>
#include <QRectF>
#include <QWidget>

#include <cstdint>

namespace ui {

// A line or rectangle drawn over the picture. Coordinates are twips of the drawing area.
class Overlay : public QObject
{
    Q_OBJECT
public:
    enum class Kind { Line, Rectangle };
    Overlay(Kind kind, const QString &name, QColor color, QObject *parent);

    Kind kind() const { return m_kind; }
    // A line's ends; a rectangle's corner and size.
    QLineF line() const { return m_line; }
    void setLine(double x1, double y1, double x2, double y2);
    QRectF rectangle() const { return m_rectangle; }
    void setRectangle(double left, double top, double width, double height);
    QColor color() const { return m_color; }
    void setColor(QColor color);
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);

signals:
    void changed();

private:
    Kind m_kind;
    QLineF m_line;
    QRectF m_rectangle;
    QColor m_color;
    bool m_visible = false;
};

// The picture box: a 300 x 300 drawing area inside a one-pixel flat border. The picture is drawn
// unscaled from the top-left corner over the picture background; overlays go on top.
// Mouse positions are reported in twips of the drawing area.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    // Picture and background as the box shows them, without the overlays.
    QImage drawingArea() const;
    // Offset of the drawing area inside the widget (the border).
    static constexpr int kBorder = 1;

    Overlay *addOverlay(Overlay::Kind kind, const QString &name, QColor color);

signals:
    void mouseDown(int button, int shift, double x, double y);
    void mouseMove(int button, int shift, double x, double y);
    void escapePressed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QImage m_picture;
    QList<Overlay *> m_overlays;
    // The composed drawing area, kept between paints; rebuilt when the picture changes.
    mutable QImage m_area;
};

// The picture box pointer: a 32 x 32 crosshair, hot spot (15, 15), strokes that invert the screen.
QCursor crosshairCursor();

} // namespace ui
