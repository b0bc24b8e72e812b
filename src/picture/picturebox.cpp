// SPDX-License-Identifier: MIT
#include "picturebox.h"

#include "engine/renderarea.h"
#include "picturesource/picturefile.h"
#include "widgets/layout.h"

#include <QBitmap>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace ui {

namespace {

int buttonCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

} // namespace

Overlay::Overlay(Kind kind, const QString &name, QColor color, QObject *parent)
    : QObject(parent), m_kind(kind), m_color(color)
{
    setObjectName(name);
}

void Overlay::setLine(double x1, double y1, double x2, double y2)
{
    m_line = QLineF(x1, y1, x2, y2);
    emit changed();
}

void Overlay::setRectangle(double left, double top, double width, double height)
{
    m_rectangle = QRectF(left, top, width, height);
    emit changed();
}

void Overlay::setColor(QColor color)
{
    m_color = color;
    emit changed();
}

void Overlay::setVisible(bool visible)
{
    m_visible = visible;
    emit changed();
}

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(crosshairCursor());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_area = QImage();
    update();
}

QImage PictureBox::drawingArea() const
{
    if (m_area.isNull()) m_area = picturesource::composeDrawingArea(m_picture);
    return m_area;
}

Overlay *PictureBox::addOverlay(Overlay::Kind kind, const QString &name, QColor color)
{
    auto *overlay = new Overlay(kind, name, color, this);
    connect(overlay, &Overlay::changed, this, qOverload<>(&QWidget::update));
    m_overlays.append(overlay);
    return overlay;
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.drawImage(kBorder, kBorder, drawingArea());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    painter.setClipRect(kBorder, kBorder, engine::kDrawingAreaSize, engine::kDrawingAreaSize);
    painter.translate(kBorder, kBorder);
    for (const Overlay *overlay : std::as_const(m_overlays)) {
        if (!overlay->isVisible()) continue;
        painter.setPen(QPen(overlay->color(), 0));
        const double k = kTwipsPerPixel;
        if (overlay->kind() == Overlay::Kind::Line) {
            const QLineF line = overlay->line();
            painter.drawLine(QLineF(line.x1() / k, line.y1() / k, line.x2() / k, line.y2() / k));
        } else {
            // The outline runs along the first and last columns and rows of the rectangle.
            const QRectF r = overlay->rectangle();
            const QRect box(int(r.left() / k), int(r.top() / k), int(r.width() / k), int(r.height() / k));
            painter.drawRect(box.adjusted(0, 0, -1, -1));
        }
    }
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    // A press on the border is outside the drawing area: it would make a corner at column -1 or 300.
    const QPointF pixel = event->position() - QPointF(kBorder, kBorder);
    if (pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= engine::kDrawingAreaSize ||
        pixel.y() >= engine::kDrawingAreaSize)
        return;
    const QPointF at = pixel * kTwipsPerPixel;
    emit mouseDown(buttonCode(event->buttons() | event->button()), shiftCode(event->modifiers()), at.x(), at.y());
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF at = (event->position() - QPointF(kBorder, kBorder)) * kTwipsPerPixel;
    emit mouseMove(buttonCode(event->buttons()), shiftCode(event->modifiers()), at.x(), at.y());
}

void PictureBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        emit escapePressed();
    else
        QWidget::keyPressEvent(event);
}

QCursor crosshairCursor()
{
    // Bitmap 1 with mask 0 inverts the screen under the pixel.
    QBitmap bitmap(32, 32);
    QBitmap mask(32, 32);
    bitmap.fill(Qt::color0);
    mask.fill(Qt::color0);
    QPainter strokes(&bitmap);
    strokes.setPen(Qt::color1);
    strokes.drawLine(6, 15, 24, 15);
    strokes.drawLine(15, 6, 15, 24);
    strokes.end();
    return QCursor(bitmap, mask, 15, 15);
}

} // namespace ui
