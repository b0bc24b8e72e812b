// SPDX-License-Identifier: MIT
#include "pageformat.h"

#include "colorcode.h"

#include <algorithm>

namespace engine {

namespace {

constexpr std::string_view kReset = "\x1b[0m";

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

char *writeTerminalPiece(char *out, const PageOptions &options, const TerminalPiece &piece)
{
    const bool ansi = options.format == PageFormat::Ansi;
    // A filled row sets its background with each run, the first one at the row's start.
    if (ansi && piece.rowStart && !options.fillCells)
        out = writeAnsiBackground(out, options.blackBackground ? 0x000000 : 0xFFFFFF, options.colorDepth);
    if (ansi && piece.newRun && options.fillCells) out = writeAnsiBackground(out, piece.rgb, options.colorDepth);
    if (ansi && piece.newRun)
        out = writeAnsiForeground(out, options.fillCells ? fillTextColor(piece.rgb) : piece.rgb, options.colorDepth);
    for (int i = 0; i < piece.count; ++i)
        out = writeUtf8(out, static_cast<unsigned char>(piece.chars[i]));
    if (piece.rowEnd) {
        if (ansi) out = std::copy(kReset.begin(), kReset.end(), out);
        *out++ = '\n';
    }
    return out;
}

uint32_t terminalShade(uint32_t rgb, const PageOptions &options)
{
    const auto shade = [&](uint32_t color) -> uint32_t {
        switch (options.colorDepth) {
        case ColorDepth::Palette:
            return uint32_t(paletteIndex(color));
        case ColorDepth::Basic:
            return uint32_t(basicColor(color));
        case ColorDepth::Full:
            break;
        }
        return color;
    };
    if (options.colorDepth == ColorDepth::Full) return rgb; // the text colour follows from it
    return options.fillCells ? shade(rgb) << 8 | shade(fillTextColor(rgb)) : shade(rgb);
}

std::string terminalTail(PageFormat format, bool midRow)
{
    if (!midRow) return {};
    return format == PageFormat::Ansi ? std::string(kReset) + "\n" : "\n";
}

} // namespace engine
