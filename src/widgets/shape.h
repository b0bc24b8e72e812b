// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <cstdint>

namespace ui {

// A rectangle shape: an outline, or filled in a colour (the progress bar).
class Shape : public QWidget
{
    Q_OBJECT
public:
    explicit Shape(QWidget *parent = nullptr);
    void setFill(int32_t color);
    // The progress bar grows from its left edge, its width given in twips.
    void setWidthTwips(int width);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_filled = false;
    int32_t m_fill = 0;
};

} // namespace ui
