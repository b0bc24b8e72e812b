// SPDX-License-Identifier: MIT
// "Load picture": choose a file and show it in the picture box.
#include "pictureframe.h"

#include "picturebox.h"

namespace ui {

void PictureFrame::loadpic_Click()
{
    const QString chosen =
        m_platform.openFileName(this, m_platform.programFolder(), {"*.bmp (*.BMP)", "*.jpg (*.JPG)", "*.gif (*.GIF)"});
    if (chosen.isEmpty()) return;
    loadPicture(chosen);
}

bool PictureFrame::loadPicture(const QString &path)
{
    QString reason;
    const QImage picture = m_platform.loadPicture(path, &reason);
    if (picture.isNull()) {
        // The file name box keeps the last picture that did load, so Convert never writes a page
        // for a file that is not shown.
        m_platform.message("Error: The picture file you selected maybe damaged.", QString(), platform::Buttons::Ok,
                           false);
        return false;
    }
    emit pictureLoaded(path);
    mainpic->setPicture(picture);
    return true;
}

} // namespace ui
