// SPDX-License-Identifier: MIT
#include "errorreport.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ui {

QString progressName(engine::Operation operation, platform::Handler handler)
{
    switch (operation) {
    case engine::Operation::Loopconvert:
        return QStringLiteral("Loopconvert");
    case engine::Operation::ConvertRGB:
        return QStringLiteral("Convert RGB");
    case engine::Operation::Unknown:
        break;
    }
    switch (handler) {
    case platform::Handler::ConvertButton:
        return QStringLiteral("Convert Button");
    case platform::Handler::MainpicMouse:
        return QStringLiteral("Mainpic mouse");
    case platform::Handler::StatTimer:
        return QStringLiteral("Stat timer");
    }
    return QStringLiteral("Unknown");
}

QStringList errorLines(const ErrorReport &r)
{
    return {
        "----- " + r.dateTime + " -----",
        "Progress: " + r.progress,
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
}

QByteArray errorBlock(const ErrorReport &report)
{
    QByteArray block;
    for (const QString &line : errorLines(report))
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
