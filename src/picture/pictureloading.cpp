// SPDX-License-Identifier: MIT
// "Load picture": choose a file, or drop one on the window, and show it in the picture box.
#include "pictureframe.h"

#include "picturebox.h"

#include "engine/renderarea.h"
#include "picturesource/picturefile.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>

namespace ui {

namespace {

// Every file name the picture reader knows, after the three designed entries.
QString allPicturesFilter()
{
    QStringList patterns;
    for (const QString &suffix : picturesource::pictureSuffixes())
        patterns << "*." + suffix;
    return PictureFrame::tr("All pictures (%1)").arg(patterns.join(' '));
}

} // namespace

void PictureFrame::loadpic_Click()
{
    // Where the last picture came from: the next one is most likely beside it.
    const QString folder = m_picturePath.isEmpty() ? m_platform.startFolder() : QFileInfo(m_picturePath).absolutePath();
    const QString chosen =
        m_platform.openFileName(this, folder, {"*.bmp (*.BMP)", "*.jpg (*.JPG)", "*.gif (*.GIF)", allPicturesFilter()});
    if (chosen.isEmpty()) return;
    loadPicture(chosen);
}

bool PictureFrame::loadPicture(const QString &path)
{
    QString reason;
    const QImage picture =
        fitpicture->isChecked() ? m_platform.loadFittedPicture(path, &reason) : m_platform.loadPicture(path, &reason);
    if (picture.isNull()) {
        // The file name box keeps the last picture that did load, so Convert never writes a page
        // for a file that is not shown.
        m_platform.message(tr("Error: The picture file you selected maybe damaged."), QString(), platform::Buttons::Ok,
                           false);
        return false;
    }
    m_picturePath = path;
    emit pictureLoaded(path);
    mainpic->setPicture(picture);
    // A fitted picture is converted whole and nothing else, as the converter's --fit converts it.
    if (fitpicture->isChecked()) {
        const int side = engine::kDrawingAreaSize;
        return setRenderAreaCode(
            QString("0 0 %1 %2").arg(std::min(picture.width(), side)).arg(std::min(picture.height(), side)));
    }
    return true;
}

void PictureFrame::fitpicture_Click()
{
    if (!m_picturePath.isEmpty()) loadPicture(m_picturePath);
}

QString PictureFrame::droppablePicture(const QMimeData *mime) const
{
    // A drop is another way to press "Load picture", so it is refused whenever that is locked.
    if (!loadpic->isEnabled() || !mime || !mime->hasUrls()) return QString();
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile()) return QString();
    const QFileInfo file(urls.constFirst().toLocalFile());
    return file.isFile() ? file.absoluteFilePath() : QString();
}

bool PictureFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == loadpic && event->type() == QEvent::EnabledChange) fitpicture->setEnabled(loadpic->isEnabled());
    if (watched != window()) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = droppablePicture(drop->mimeData());
        // Only ever a copy: a source offering to move the file would delete it once dropped.
        if (path.isEmpty() || !(drop->possibleActions() & Qt::CopyAction)) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (event->type() == QEvent::Drop) loadPicture(path);
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

} // namespace ui
