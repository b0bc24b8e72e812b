// SPDX-License-Identifier: MIT
#pragma once

#include "engine/scaling.h"

namespace cli {

// Where a page written to standard output is seen: a terminal of some size and colours, or not.
struct TerminalOutput
{
    bool isTerminal = false;
    engine::PixelSize cells; // columns and rows
    bool fullColor = false;  // COLORTERM says the terminal takes 24-bit colour
};

// fd as a terminal: its size from the terminal itself, else from COLUMNS and LINES, else 80 x 24.
TerminalOutput describeTerminal(int fd);

} // namespace cli
