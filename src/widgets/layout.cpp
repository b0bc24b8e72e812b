// SPDX-License-Identifier: MIT
#include "widgets/layout.h"

#include <QGroupBox>

namespace ui {

void setUpFrame(QGroupBox *frame, const char *name, const QString &caption, int left, int top, int width, int height)
{
    frame->setObjectName(QString::fromLatin1(name));
    frame->setTitle(caption);
    frame->setGeometry(twipsRect(left, top, width, height));
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {48, 256})
        icon.addFile(QString(":/icons/lumirune-%1.png").arg(size), QSize(size, size));
    return icon;
}

void setUpToolWindow(QWidget *window, const char *name, const QString &title, int width, int height)
{
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowTitle(title);
    window->setWindowIcon(programIcon());
    if (window->parentWidget()) window->setFont(window->parentWidget()->font());
    window->setFixedSize(twipsRect(0, 0, width, height).size());
}

} // namespace ui
