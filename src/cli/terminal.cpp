// SPDX-License-Identifier: MIT
#include "terminal.h"

#include <cstdlib>
#include <cstring>
#include <sys/ioctl.h>
#include <unistd.h>

namespace cli {

namespace {

// A count from the environment; 0 when unset or not a plain whole number.
int environmentCount(const char *name)
{
    const char *text = std::getenv(name);
    if (!text || !*text || std::strlen(text) > 5) return 0;
    int value = 0;
    for (const char *c = text; *c; ++c) {
        if (*c < '0' || *c > '9') return 0;
        value = value * 10 + (*c - '0');
    }
    return value;
}

} // namespace

TerminalOutput describeTerminal(int fd)
{
    TerminalOutput terminal;
    const char *colors = std::getenv("COLORTERM");
    terminal.fullColor = colors && (std::strcmp(colors, "truecolor") == 0 || std::strcmp(colors, "24bit") == 0);
    terminal.isTerminal = ::isatty(fd) == 1;
    if (!terminal.isTerminal) return terminal;
    winsize size{};
    if (::ioctl(fd, TIOCGWINSZ, &size) == 0) terminal.cells = {size.ws_col, size.ws_row};
    // A terminal that does not know its size (a serial line) says 0.
    if (terminal.cells.width <= 0) terminal.cells.width = environmentCount("COLUMNS");
    if (terminal.cells.height <= 0) terminal.cells.height = environmentCount("LINES");
    if (terminal.cells.width <= 0) terminal.cells.width = 80;
    if (terminal.cells.height <= 0) terminal.cells.height = 24;
    return terminal;
}

} // namespace cli
