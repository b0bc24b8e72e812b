// SPDX-License-Identifier: MIT
// Helpers for window tests that run conversions and read the failure report back.
#pragma once

#include "fakeplatform.h"
#include "mainwindow/controls.h"
#include "mainwindow/quennet.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMetaObject>
#include <QTemporaryDir>
#include <QTimer>

// A fresh current directory for one test, so the report file lands there.
class ScratchFolder
{
public:
    ScratchFolder() { QDir::setCurrent(m_dir.path()); }
    ~ScratchFolder() { QDir::setCurrent(m_previous); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QString m_previous = QDir::currentPath();
    QTemporaryDir m_dir;
};

// Saves a picture of the given rows of colours as a BMP in folder, loads it into the window
// through the file dialog and sets a render area of the whole picture; every pixel of the scan
// then lets events through.
inline void loadTestPicture(ui::quennet &window, FakePlatform &fake, const QString &folder,
                            const QList<QList<QColor>> &rows)
{
    QImage image(rows.first().size(), rows.size(), QImage::Format_RGB32);
    for (int y = 0; y < rows.size(); ++y) {
        for (int x = 0; x < rows[y].size(); ++x)
            image.setPixelColor(x, y, rows[y][x]);
    }
    QDir().mkpath(folder);
    const QString path = folder + "/cat.bmp";
    image.save(path, "BMP");
    fake.nextFileName = path;
    window.loadpic_Click();
    window.renderareapoint->setText(QString("0 0 %1 %2").arg(image.width()).arg(image.height()));
    window.totpixels->setText(QString::number(image.width() * image.height()));
    window.setScanEventInterval(std::chrono::nanoseconds(0));
}

// One tick of the status timer, delivered as the timer itself delivers it.
inline void tick(ui::quennet &window)
{
    QMetaObject::invokeMethod(window.statustimer, "timeout");
}

// The report file in the current directory split at CR LF; a bare LF stays inside its line, and a
// last line without CR LF shows up as an extra line.
inline QStringList reportLines()
{
    QFile file("Errormsg.txt");
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
    if (lines.constLast().isEmpty()) lines.removeLast();
    return lines;
}
