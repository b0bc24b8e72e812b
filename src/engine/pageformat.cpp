// SPDX-License-Identifier: MIT
#include "pageformat.h"

#include "colorcode.h"

#include <algorithm>

namespace engine {

namespace {

constexpr std::string_view kReset = "\x1b[0m";

char *writeDecimal(char *out, uint32_t value)
{
    if (value >= 100) *out++ = char('0' + value / 100);
    if (value >= 10) *out++ = char('0' + value / 10 % 10);
    *out++ = char('0' + value % 10);
    return out;
}

// ESC [ 38;2;R;G;B m (foreground) or 48 (background).
char *writeColor(char *out, std::string_view layer, uint32_t rgb)
{
    out = std::copy_n("\x1b[", 2, out);
    out = std::copy(layer.begin(), layer.end(), out);
    out = std::copy_n(";2;", 3, out);
    out = writeDecimal(out, rgb >> 16);
    *out++ = ';';
    out = writeDecimal(out, rgb >> 8 & 0xFF);
    *out++ = ';';
    out = writeDecimal(out, rgb & 0xFF);
    *out++ = 'm';
    return out;
}

} // namespace

std::string_view pageExtension(PageFormat format)
{
    switch (format) {
    case PageFormat::Ansi:
        return ".ans";
    case PageFormat::Text:
        return ".txt";
    case PageFormat::Html:
        break;
    }
    return ".htm";
}

char *writeTerminalPiece(char *out, PageFormat format, const PageOptions &options, const TerminalPiece &piece)
{
    const bool ansi = format == PageFormat::Ansi;
    // A filled row sets its background with each run, the first one at the row's start.
    if (ansi && piece.rowStart && !options.fillCells)
        out = writeColor(out, "48", options.blackBackground ? 0x000000 : 0xFFFFFF);
    if (ansi && piece.newRun && options.fillCells) out = writeColor(out, "48", piece.rgb);
    if (ansi && piece.newRun) out = writeColor(out, "38", options.fillCells ? fillTextColor(piece.rgb) : piece.rgb);
    for (int i = 0; i < piece.count; ++i)
        out = writeUtf8(out, static_cast<unsigned char>(piece.chars[i]));
    if (piece.rowEnd) {
        if (ansi) out = std::copy(kReset.begin(), kReset.end(), out);
        *out++ = '\n';
    }
    return out;
}

std::string terminalTail(PageFormat format, bool midRow)
{
    if (!midRow) return {};
    return format == PageFormat::Ansi ? std::string(kReset) + "\n" : "\n";
}

} // namespace engine
