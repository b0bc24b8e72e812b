// SPDX-License-Identifier: MIT
#pragma once

#include "engine/scan.h"

#include <QString>
#include <QStringList>

namespace cli {

struct ConvertJob
{
    engine::ScanSettings settings;
    QString output; // empty: the numbered name beside each picture
    QStringList pictures;
    bool helpRequested = false;
    QString error; // when not empty, the command line was refused: names the bad option and its value
};

// Reads the command line (arguments[0] is the program).
ConvertJob parseArguments(const QStringList &arguments);

QString helpText();

} // namespace cli
