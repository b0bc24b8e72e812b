// SPDX-License-Identifier: MIT
#pragma once

#include "colorcode.h"
#include "document.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace engine {

// The markup of an HTML page's pixels.
inline constexpr std::string_view kHtmlOpenRun = "<font color=#";
inline constexpr std::string_view kHtmlNextRun = "</font><font color=#";
inline constexpr std::string_view kHtmlRowEnd = "</font><br>";
inline constexpr std::string_view kHtmlAmp = "&amp;";
// Longest piece: a new run, two characters written as "&amp;", and the row end.
inline constexpr std::size_t kLongestHtmlPiece = kHtmlNextRun.size() + 7 + 2 * kHtmlAmp.size() + kHtmlRowEnd.size();

// Whether a pixel of colour rgb (0x00RRGGBB) opens a font run: every row starts one, and so does
// every colour that differs from the pixel's before it. Pages of every format merge runs by it.
inline bool opensRun(bool rowStart, uint32_t rgb, uint32_t previous)
{
    return rowStart || rgb != previous;
}

// writeHex() and the '>' after it; returns the end.
inline char *writeHexAndTagEnd(char *out, uint32_t rgb)
{
    std::memcpy(out, kHexTriples[(rgb >> 12) & 0xFFF].data(), 4);
    std::memcpy(out + 3, kHexTriples[rgb & 0xFFF].data(), 4);
    return out + 7;
}

// Writes one pixel of an HTML page at out and returns the end: a new font run where opensRun()
// says so, the characters ('&' written as "&amp;"; Escape false for characters known to hold
// none), and the row end.
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

// A stretch of pixels of one row, none of them its last, whose colours and characters are known.
struct HtmlStretch
{
    const uint32_t *rgbs = nullptr; // 0x00RRGGBB, after quality
    const char *chars = nullptr;    // perPixel characters a pixel, in order
    int count = 0;
    int perPixel = 0;      // 0, 1 or 2
    bool escape = false;   // some character is '&'
    bool rowStart = false; // the first pixel is the row's first
    uint32_t previous = 0; // the colour of the pixel before, where there is one
};

// The room for a stretch's pieces: what writeHtmlStretch() may write at most.
inline PieceBatch::Size htmlStretchRoom(int count)
{
    return {std::size_t(count) * kLongestHtmlPiece, std::size_t(count)};
}

// Writes a stretch's pieces into batch, one piece a pixel, exactly as writeHtmlPiece() would
// one at a time.
void writeHtmlStretch(PieceBatch &batch, const HtmlStretch &stretch);

} // namespace engine
