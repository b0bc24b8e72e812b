// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

namespace ui {

// A label that reports clicks, as the render area label does.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

} // namespace ui
