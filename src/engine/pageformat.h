// SPDX-License-Identifier: MIT
#pragma once

#include "colorcode.h"
#include "document.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace engine {

// The markup of an HTML page's pixels.
inline constexpr std::string_view kHtmlOpenRun = "<font color=#";
inline constexpr std::string_view kHtmlNextRun = "</font><font color=#";
inline constexpr std::string_view kHtmlRowEnd = "</font><br>";
inline constexpr std::string_view kHtmlAmp = "&amp;";
// Longest piece: a new run, two characters written as "&amp;", and the row end.
inline constexpr std::size_t kLongestHtmlPiece = kHtmlNextRun.size() + 7 + 2 * kHtmlAmp.size() + kHtmlRowEnd.size();

// Writes one pixel of an HTML page at out and returns the end: a new font run where the colour
// changes or the row starts, the characters ('&' written as "&amp;"; Escape false for characters
// known to hold none), and the row end.
template <bool Escape = true>
inline char *writeHtmlPiece(char *out, uint32_t rgb, bool newRun, bool firstOfRow, const char *chars, int count,
                            bool rowEnd)
{
    if (newRun) {
        // Copies of a fixed length each, which compile to a few moves.
        if (firstOfRow)
            out = std::copy(kHtmlOpenRun.begin(), kHtmlOpenRun.end(), out);
        else
            out = std::copy(kHtmlNextRun.begin(), kHtmlNextRun.end(), out);
        out = writeHexAndTagEnd(out, rgb);
    }
    for (int i = 0; i < count; ++i) {
        // A bare '&' could start a character reference that swallows the characters after it.
        if (Escape && chars[i] == '&')
            out = std::copy(kHtmlAmp.begin(), kHtmlAmp.end(), out);
        else
            *out++ = chars[i];
    }
    if (rowEnd) out = std::copy(kHtmlRowEnd.begin(), kHtmlRowEnd.end(), out);
    return out;
}

// writeHtmlPiece() for the pixels of a row between its first and its last, of PerPixel (1 or 2)
// characters that need no escaping: writes their pieces from out, records where each ends
// (counted from base) in ends, and returns the end. previous is the colour of the pixel before.
// At quality 100 nearly every pixel opens a run and at low quality nearly none does, so instead
// of a branch that would often be mispredicted each pixel writes a whole new-run piece, and then
// its characters either after it or, where the run goes on, over its start.
template <int PerPixel>
inline char *writeHtmlRowPieces(char *out, const char *base, uint32_t *ends, const uint32_t *rgbs, const char *chars,
                                int n, uint32_t previous)
{
    static_assert(PerPixel == 1 || PerPixel == 2);
    constexpr std::size_t kOpen = kHtmlNextRun.size() + 7; // the run's opening with its colour and '>'
    for (int i = 0; i < n; ++i) {
        const uint32_t rgb = rgbs[i];
        std::memcpy(out, kHtmlNextRun.data(), kHtmlNextRun.size());
        writeHexAndTagEnd(out + kHtmlNextRun.size(), rgb);
        char *const text = rgb != previous ? out + kOpen : out;
        std::memcpy(text, chars + i * PerPixel, PerPixel);
        out = text + PerPixel;
        ends[i] = uint32_t(out - base);
        previous = rgb;
    }
    return out;
}

// How one pixel of a terminal page is written: its colour (0x00RRGGBB), its message characters
// (Windows-1252 bytes) and where it stands in its row and run.
struct TerminalPiece
{
    uint32_t rgb = 0;
    const char *chars = nullptr;
    int count = 0;
    bool rowStart = false;
    bool newRun = false; // the colour differs from the pixel before, or the row starts
    bool rowEnd = false;
};

// The most bytes one terminal piece takes.
inline constexpr std::size_t kLongestTerminalPiece = 64;

// The page name ending of a format: ".htm", ".ans" or ".txt".
std::string_view pageExtension(PageFormat format);

// Writes one pixel of an Ansi or Text page at out and returns the end. Ansi sets the background
// at each row start and the foreground colour at each run, both at options.colorDepth, and resets
// the colours at each row end; both end each row with a line end. Characters are written in UTF-8,
// as terminals read.
char *writeTerminalPiece(char *out, PageFormat format, const PageOptions &options, const TerminalPiece &piece);

// What ends a terminal page: nothing after a whole row; a stopped one ends its row.
std::string terminalTail(PageFormat format, bool midRow);

} // namespace engine
