// SPDX-License-Identifier: MIT
#pragma once

#include "engine/failure.h"
#include "platform/guard.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace ui {

// What one failure leaves in the report file: the error and the window's state at that moment.
struct ErrorReport
{
    QString dateTime; // already in the locale's words
    QString progress; // the guarded operation, as the report names it
    QString description;
    int32_t number = 0;
    QString source;
    QString renderStatus;
    int16_t renderTime = 0;
    int16_t totalLines = 0;
    QString linesDone;
    QString rgbText;
    QString hexColor;
    QString renderArea;
    QString renderPixels;
};

// The name the report gives a failure: the engine procedure that claimed it, else the handler.
QString progressName(engine::Operation operation, platform::Handler handler);

// The thirteen lines of one report block, without their endings.
QStringList errorLines(const ErrorReport &report);

// The lines, each ended by CR LF, in UTF-8 so that file names in descriptions read as the file
// system spells them.
QByteArray errorBlock(const ErrorReport &report);

// Appends block to the file, creating it when missing. False when it could not be written whole.
bool appendErrorBlock(const QString &fileName, const QByteArray &block);

} // namespace ui
