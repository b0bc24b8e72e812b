// SPDX-License-Identifier: MIT
#include "widgets/clicklabel.h"

#include <QMouseEvent>

namespace ui {

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    if (isEnabled()) emit clicked();
}

} // namespace ui
