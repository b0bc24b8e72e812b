// SPDX-License-Identifier: MIT
#pragma once

#include "engine/scaling.h"
#include "engine/scan.h"

#include <QString>
#include <QStringList>

namespace cli {

struct ConvertJob
{
    engine::ScanSettings settings;
    QString output;           // empty: the numbered name beside each picture
    QByteArray outputBytes;   // the -o file's name as given, for opening
    QStringList pictures;     // "-" is standard input
    engine::SizeRequest size; // none: the picture as the 300 x 300 box shows it
    bool areaGiven = false;   // else the whole box, or the whole scaled picture
    int jobs = 0;             // pictures converted at once; 0: one per processor core
    bool helpRequested = false;
    bool versionRequested = false;
    QString error; // when not empty, the command line was refused: names the bad option and its value
};

// Reads the command line (arguments[0] is the program).
ConvertJob parseArguments(const QStringList &arguments);

// The options in groups, then a few examples.
QString helpText();

inline constexpr int kMostJobs = 256;

} // namespace cli
