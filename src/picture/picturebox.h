// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QObject>
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
    // Line: from (x1, y1) to (x2, y2). Rectangle: left, top, width, height.
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;

    void setLine(double ax1, double ay1, double ax2, double ay2);
    void setRectangle(double left, double top, double width, double height) { setLine(left, top, width, height); }
    QColor color() const { return m_color; }
    void setColor(QColor color);
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);

signals:
    void changed();

private:
    Kind m_kind;
    QColor m_color;
    bool m_visible = false;
};

// The picture box: a 300 x 300 drawing area inside a one-pixel flat border. The picture is drawn
// unscaled from the top-left corner over the palette's Base colour; overlays go on top.
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
    void changeEvent(QEvent *event) override;

private:
    QImage m_picture;
    QList<Overlay *> m_overlays;
    // The composed drawing area, kept between paints; rebuilt when the picture or background changes.
    mutable QImage m_area;
};

// The picture box pointer: a 32 x 32 crosshair, hot spot (15, 15), strokes that invert the screen.
QCursor crosshairCursor();

} // namespace ui
