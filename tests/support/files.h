// SPDX-License-Identifier: MIT
// Whole files read and written in one call, for pages and the files planted beside them.
#pragma once

#include <QFile>

// The file's bytes; empty if it cannot be read.
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
