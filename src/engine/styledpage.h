// SPDX-License-Identifier: MIT
#pragma once

#include "document.h"

#include <cstdint>
#include <string>

namespace engine {

// Pages with filled cells or square pixels. A filled cell's background is its pixel's colour and
// its characters a shade of it; a square page is an HTML5 page in UTF-8 whose style sheet sizes
// each cell square whatever monospace font draws it, with runs in styled elements instead of font.

// The head of a square page, up to "<pre>", for pixels of charsPerPixel characters.
std::string squarePageHead(const PageOptions &options, int charsPerPixel);
// The tail of a square page; runOpen: an aborted page stopped inside a run, which is closed first.
std::string squarePageTail(Tail tail, bool insertPre, bool runOpen);

// The most bytes one piece of such a page takes.
inline constexpr std::size_t kLongestStyledPiece = 96;

// Writes one pixel of an HTML page with filled cells or square pixels at out and returns the
// end, as writeHtmlPiece() does for the plain page.
char *writeStyledHtmlPiece(char *out, const PageOptions &options, uint32_t rgb, bool newRun, bool firstOfRow,
                           const char *chars, int count, bool rowEnd);

} // namespace engine
