// SPDX-License-Identifier: MIT
#include "pageformat.h"

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

char *writeTerminalPiece(char *out, PageFormat format, const PageOptions &options, const TerminalPiece &piece)
{
    const bool ansi = format == PageFormat::Ansi;
    if (ansi && piece.rowStart)
        out = writeAnsiBackground(out, options.blackBackground ? 0x000000 : 0xFFFFFF, options.colorDepth);
    if (ansi && piece.newRun) out = writeAnsiForeground(out, piece.rgb, options.colorDepth);
    for (int i = 0; i < piece.count; ++i) {
        // The message's letters past ASCII (Å, Ä, Ö, å, ä, ö) are Latin-1, so their UTF-8 is two bytes.
        const auto c = static_cast<unsigned char>(piece.chars[i]);
        if (c < 0x80) {
            *out++ = char(c);
        } else {
            *out++ = char(0xC0 | c >> 6);
            *out++ = char(0x80 | (c & 0x3F));
        }
    }
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
