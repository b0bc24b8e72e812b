// SPDX-License-Identifier: MIT
#pragma once

#include "document.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

// How one pixel of a terminal page is written: its colour (0x00RRGGBB), its message characters
// (Windows-1252 bytes) and where it stands in its row and run.
struct TerminalPiece
{
    uint32_t rgb = 0;
    const char *chars = nullptr;
    int count = 0;
    bool rowStart = false;
    bool newRun = false; // as opensRun() decides for the colours terminalShade() gives
    bool rowEnd = false;
};

// The most bytes one terminal piece takes.
inline constexpr std::size_t kLongestTerminalPiece = 64;

// The page name ending of a format: ".htm", ".ans" or ".txt".
std::string_view pageExtension(PageFormat format);

// Writes a message character (Windows-1252) in UTF-8 at out and returns the end. The letters past
// ASCII a message may hold (Å, Ä, Ö, å, ä, ö) are Latin-1, so their UTF-8 is two bytes.
inline char *writeUtf8(char *out, unsigned char c)
{
    if (c < 0x80) {
        *out++ = char(c);
    } else {
        *out++ = char(0xC0 | c >> 6);
        *out++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

// Writes one pixel of an Ansi or Text page at out and returns the end. Ansi sets the background
// at each row start and the foreground colour at each run, both at options.colorDepth, and resets
// the colours at each row end; both end each row with a line end. Characters are written in UTF-8,
// as terminals read.
char *writeTerminalPiece(char *out, const PageOptions &options, const TerminalPiece &piece);

// What a terminal page shows of rgb at options.colorDepth (filled, with the shade of its characters),
// as one number: neighbours that show alike are one run, so a sequence never repeats the one
// before it where two colours fall on one palette entry.
uint32_t terminalShade(uint32_t rgb, const PageOptions &options);

// What ends a terminal page: nothing after a whole row; a stopped one ends its row.
std::string terminalTail(PageFormat format, bool midRow);

} // namespace engine
