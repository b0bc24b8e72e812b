// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/systemcolors.h"

#include <QRect>
#include <QWidget>

#include <cstdint>

namespace ui {

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
