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
    // The progress bar grows from its left edge; its width is kept in twips.
    int widthTwips() const { return m_widthTwips; }
    void setWidthTwips(int width);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_filled = false;
    int32_t m_fill = 0;
    int m_widthTwips = 0;
};

} // namespace ui
