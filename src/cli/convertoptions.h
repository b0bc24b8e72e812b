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
    bool versionRequested = false;
};

// Reads the command line (arguments[0] is the program). Returns the job, or sets error to a
// message naming the bad option and its value.
ConvertJob parseArguments(const QStringList &arguments, QString *error);

QString helpText();

} // namespace cli
