// SPDX-License-Identifier: MIT
#include "errorreport.h"

#include <QFile>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ui {

namespace {

QString progressLine(engine::Operation operation)
{
    switch (operation) {
    case engine::Operation::ConvertButton:
        return QStringLiteral("Progress: Convert Button");
    case engine::Operation::Loopconvert:
        return QStringLiteral("Progress: Loopconvert");
    case engine::Operation::ConvertRGB:
        return QStringLiteral("Progress: Convert RGB");
    case engine::Operation::MainpicMouse:
        return QStringLiteral("Progress: Mainpic mouse");
    case engine::Operation::StatTimer:
        return QStringLiteral("Progress: Stat timer");
    case engine::Operation::Unknown:
        break;
    }
    // Every guarded operation claims its failures, so this names a failure nobody claimed.
    return QStringLiteral("Progress: Unknown");
}

} // namespace

QByteArray errorBlock(const ErrorReport &r)
{
    const QStringList lines{
        "----- " + r.dateTime + " -----",
        progressLine(r.operation),
        "ErrD: " + r.description,
        "ErrN: " + QString::number(r.number),
        "ErrS: " + r.source,
        "RendS: " + r.renderStatus,
        "RendT: " + QString::number(r.renderTime),
        "TotL: " + QString::number(r.totalLines),
        "ConvL: " + r.linesDone,
        "ConvRGB: " + r.rgbText,
        "TotHex: " + r.hexColor,
        "RendA: " + r.renderArea,
        "RendP: " + r.renderPixels,
    };
    QByteArray block;
    for (const QString &line : lines)
        block += line.toUtf8() + "\r\n";
    return block;
}

bool appendErrorBlock(const QString &fileName, const QByteArray &block)
{
    // Without blocking and to a regular file only: a FIFO in the report's place must not hold up
    // the end of the program. Never through a link, as for pages: the block goes where it is
    // looked for, not into whatever file a link names.
    const int fd = ::open(QFile::encodeName(fileName).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat info
    {
    };
    QFile file;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        !file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    const bool written = file.write(block) == block.size() && file.flush();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

} // namespace ui
