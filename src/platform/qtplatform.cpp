// SPDX-License-Identifier: MIT
#include "qtplatform.h"

#include "picturesource/picturefile.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QStandardPaths>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace platform {

Answer QtPlatform::message(const QString &text, const QString &title, Buttons buttons, bool systemModal)
{
    QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? kApplicationTitle : title, text,
                    buttons == Buttons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                    QApplication::activeWindow());
    // Return answers OK and Esc cancels, whichever button a platform's layout puts first with focus.
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(buttons == Buttons::OkCancel ? QMessageBox::Cancel : QMessageBox::Ok);
    // In this order: QMessageBox's setWindowModality resets the window flags.
    box.setWindowModality(Qt::ApplicationModal);
    if (systemModal) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

QString QtPlatform::openFileName(QWidget *parent, const QString &folder, const QStringList &filters)
{
    return QFileDialog::getOpenFileName(parent, QString(), folder, filters.join(";;"));
}

QImage QtPlatform::loadPicture(const QString &path, QString *error)
{
    return picturesource::readPicture(path, error);
}

QImage QtPlatform::loadFittedPicture(const QString &path, QString *error)
{
    return picturesource::readFittedPicture(path, error);
}

bool QtPlatform::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

int32_t QtPlatform::pixelShown(QWidget *widget, QPoint point)
{
    return colorShownAt(widget, point);
}

int32_t colorShownAt(QWidget *widget, QPoint point)
{
    if (!widget->rect().contains(point)) return -1;
    const QImage shown = widget->grab(QRect(point, QSize(1, 1))).toImage();
    return shown.isNull() ? -1 : picturesource::toColorValue(shown.pixel(0, 0));
}

void QtPlatform::processEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtPlatform::quit(int exitCode)
{
    // Pages are flushed before events run, so nothing written is lost by leaving here.
    std::fflush(nullptr);
    ::_exit(exitCode);
}

QString QtPlatform::startFolder()
{
    const QString current = QDir::currentPath();
    if (!QDir(current).isRoot()) return current;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

QString QtPlatform::dateTimeText()
{
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return locale.toString(now.date(), QLocale::ShortFormat) + ' ' + locale.toString(now.time(), QLocale::LongFormat);
}

} // namespace platform
