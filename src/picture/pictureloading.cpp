// SPDX-License-Identifier: MIT
// "Load picture": choose a file and show it in the picture box.
#include "mainwindow/quennet.h"
#include "picture/picturebox.h"

#include <QLineEdit>

namespace ui {

void quennet::loadpic_Click()
{
    const QString chosen =
        m_platform.openFileName(this, m_platform.programFolder(), {"*.bmp (*.BMP)", "*.jpg (*.JPG)", "*.gif (*.GIF)"});
    if (!chosen.isEmpty()) loadPicture(chosen);
}

void quennet::loadPicture(const QString &path)
{
    QString reason;
    const QImage picture = m_platform.loadPicture(path, &reason);
    if (picture.isNull()) {
        // The file name box keeps the last picture that did load, so Convert never writes a page
        // for a file that is not shown.
        m_platform.message("Error: The picture file you selected maybe damaged.", QString(), platform::Buttons::Ok,
                           false);
        return;
    }
    convertfilename->setText(path);
    mainpic->setPicture(picture);
}

} // namespace ui
