// SPDX-License-Identifier: MIT
// The unusual and hostile pictures in tests/data/pictures (made by make.sh there) and what a page
// converted from each with the default area must show; one table for the window and the converter.
#pragma once

#include "support/table.h"

#include <QRegularExpression>
#include <QtTest>

// Columns: the file, then "damaged" (with what the converter must name after ": ") or the colours
// at pixels as "x,y=RRGGBB", where "bg" is the picture box's background (beyond the picture and
// where it is transparent). Only the rows of the files named in only, unless it is empty.
inline void addUnusualPictureRows(const QStringList &only = {})
{
    const auto add = columns<QString, QString>({"file", "expected"});
    const auto row = [&](const char *name, const char *file, const char *expected) {
        if (only.isEmpty() || only.contains(file)) add(name, file, expected);
    };
    row("a text file named .bmp", "text.bmp", "damaged");
    row("bitmap header claiming 100000 x 100000", "huge-header.bmp", "damaged");
    row("GIF screen of 16000 x 16000", "huge-screen.gif", "damaged");
    row("progressive JPEG claiming 30000 x 30000", "huge-progressive.jpg", "damaged: a 30000 x 30000 picture");
    row("truncated JPEG, the lost rows grey", "truncated.jpg",
        "0,0=FF0000 15,15=FF0000 0,16=808080 15,63=808080 16,0=bg");
    row("JPEG of 1000 scans", "many-scans.jpg", "damaged: 1000 scans");
    row("truncated GIF, the lost rows black", "truncated.gif", "0,0=FF0000 15,31=FF0000 0,63=000000 16,0=bg");
    row("truncated bitmap, the lost rows black", "truncated.bmp", "0,19=FFFF00 31,17=FFFF00 0,0=000000 32,0=bg");
    row("truncated PNG, the lost rows the background", "truncated.png", "0,0=FF0000 95,15=FF0000 0,63=bg 96,0=bg");
    row("truncated WebP, the lost rows the background", "truncated.webp", "0,0=FF0000 63,31=FF0000 0,127=bg");
    row("8-bit palette bitmap", "palette-8bit.bmp", "0,0=00FF00 19,18=FF00FF 19,19=FFFFFF 20,0=bg");
    row("PNG with transparency", "transparent.png", "0,0=bg 7,15=bg 8,0=FF0000 15,15=FF0000");
    row("JPEG beyond 300 x 300", "larger.jpg", "0,0=FF0000 299,0=00FF00 0,299=FFFF00 299,299=FFFF00");
}

// What of expected a page of file written with two characters a pixel does not show: its size if
// it is not 300 x 300 pixels, else the pixels in other colours (a JPEG's or WebP's within 4 a
// channel).
inline QString wrongColors(const QByteArray &page, const QString &file, const QString &expected,
                           const QString &background)
{
    QList<QStringList> rows{{}}; // each pixel's colour text, row by row
    static const QRegularExpression piece("<font color=#(\\w{6})>([^<]*)|<br>");
    for (auto pieces = piece.globalMatch(page); pieces.hasNext();) {
        const QRegularExpressionMatch match = pieces.next();
        if (match.captured() == "<br>") rows.append(QStringList());
        for (qsizetype i = 0; i < match.capturedLength(2); i += 2)
            rows.last() << match.captured(1);
    }
    rows.removeLast(); // the credit line after the last row
    const auto full = [](const QStringList &row) { return row.size() == 300; };
    if (rows.size() != 300 || !std::all_of(rows.cbegin(), rows.cend(), full))
        return QString("%1 rows, the first of %2 pixels").arg(rows.size()).arg(rows.value(0).size());
    const int tolerance = file.endsWith(".jpg") || file.endsWith(".webp") ? 4 : 0;
    QStringList wrong;
    for (const QString &point : expected.split(' ')) {
        const int x = point.section(',', 0, 0).toInt(), y = point.section(',', 1).section('=', 0, 0).toInt();
        const QColor want("#" + point.section('=', 1).replace("bg", background)), got("#" + rows[y][x]);
        if (qAbs(got.red() - want.red()) > tolerance || qAbs(got.green() - want.green()) > tolerance ||
            qAbs(got.blue() - want.blue()) > tolerance)
            wrong << point + " but " + rows[y][x];
    }
    return wrong.join(", ");
}
