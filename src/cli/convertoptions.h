// SPDX-License-Identifier: MIT
#pragma once

#include "engine/scaling.h"
#include "engine/scan.h"
#include "terminal.h"

#include <optional>
#include <string>
#include <vector>

namespace cli {

// Names and values are the bytes given on the command line: a file name need not be valid text.
struct ConvertJob
{
    engine::ScanSettings settings;
    std::string output;                // empty: the numbered name beside each picture
    std::vector<std::string> pictures; // "-" is standard input
    engine::SizeRequest size;          // none: the picture as the 300 x 300 box shows it
    bool areaGiven = false;            // else the whole box, or the whole scaled picture
    int jobs = 0;                      // pictures converted at once; 0: one per processor core
    bool helpRequested = false;
    bool versionRequested = false;
    // The colours of an ansi page; none: by where the page goes.
    std::optional<engine::ColorDepth> colorDepth;
    // Standard output, as main() finds it.
    TerminalOutput terminal;
    std::string error; // when not empty, the command line was refused: names the bad option and its value
};

// Reads the command line (arguments[0] is the program).
ConvertJob parseArguments(const std::vector<std::string> &arguments);

inline constexpr int kMostJobs = 256;

} // namespace cli
