// SPDX-License-Identifier: MIT
#include "styledpage.h"

#include "colorcode.h"
#include "pageformat.h"

#include <algorithm>
#include <string_view>

namespace engine {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// The pixels the font element's sizes 1 to 7 stand for in browsers at their default size.
int fontPixels(const std::string &fontSize)
{
    static const int pixels[] = {10, 13, 16, 18, 24, 32, 48};
    const int size = fontSize.size() == 1 ? fontSize[0] - '0' : 1;
    return pixels[std::clamp(size, 1, 7) - 1];
}

template <std::size_t N> char *put(char *out, const char (&text)[N])
{
    return std::copy(text, text + N - 1, out);
}

} // namespace

std::string squarePageHead(const PageOptions &options, int charsPerPixel)
{
    // A cell is one line high and as wide: line height 1.2 em in whole pixels, and each character
    // spaced so that the cell's characters, one "ch" wide each in a monospace font, fill it.
    const int size = fontPixels(options.fontSize);
    const int line = size * 6 / 5;
    const int perPixel = std::max(charsPerPixel, 1);
    const std::string cell = std::to_string(line / perPixel) + (line % perPixel ? ".5" : "") + "px";
    std::string head = "<!DOCTYPE html><html><head><meta charset=utf-8><title>Orvanta @ Lumirune</title><style>"
                       "body{margin:0;background:#";
    head += options.blackBackground ? "000000" : "FFFFFF";
    head += "}body,pre{margin:0;font:" + std::to_string(size) + "px/" + std::to_string(line) +
            "px monospace;letter-spacing:calc(" + cell + " - 1ch);white-space:nowrap}b{font-weight:normal}";
    // Inline backgrounds cover a font's own height, which may fall short of the line.
    if (options.fillCells) head += "b{padding:.2em 0}";
    head += "</style></head><body>";
    head += kCrLf;
    if (options.insertPre) head += "<pre>";
    return head;
}

std::string squarePageTail(Tail tail, bool insertPre, bool runOpen)
{
    std::string text = runOpen ? "</b>" : "";
    if (insertPre) text += "</pre>";
    if (tail == Tail::Abort) text += "<br>";
    text += "<b style=color:#FFFFFF>Orvanta @ Lumirune</b></body></html>";
    text += kCrLf;
    return text;
}

char *writeStyledHtmlPiece(char *out, const PageOptions &options, uint32_t rgb, bool newRun, bool firstOfRow,
                           const char *chars, int count, bool rowEnd)
{
    const bool square = options.squarePixels;
    if (newRun) {
        if (!firstOfRow) out = square ? put(out, "</b>") : put(out, "</font>");
        out = square ? put(out, "<b style=color:#") : put(out, "<font color=#");
        out = writeHex(out, options.fillCells ? fillTextColor(rgb) : rgb);
        if (options.fillCells) {
            out = square ? put(out, ";background:#") : put(out, " style=background:#");
            out = writeHex(out, rgb);
        }
        *out++ = '>';
    }
    for (int i = 0; i < count; ++i) {
        const auto c = static_cast<unsigned char>(chars[i]);
        if (c == '&')
            out = put(out, "&amp;");
        else if (square) // the page is UTF-8
            out = writeUtf8(out, c);
        else
            *out++ = char(c);
    }
    if (rowEnd) out = square ? put(out, "</b><br>") : put(out, "</font><br>");
    return out;
}

} // namespace engine
