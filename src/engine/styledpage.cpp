// SPDX-License-Identifier: MIT
#include "styledpage.h"

#include "colorcode.h"
#include "pageformat.h"

#include <algorithm>
#include <string_view>

namespace engine {

namespace {

// The pixels the font element's sizes 1 to 7 stand for in browsers at their default size.
int fontPixels(const std::string &fontSize)
{
    static const int pixels[] = {10, 13, 16, 18, 24, 32, 48};
    const int size = fontSize.size() == 1 ? fontSize[0] - '0' : 1;
    return pixels[std::clamp(size, 1, 7) - 1];
}

char *put(char *out, std::string_view text)
{
    return std::copy(text.begin(), text.end(), out);
}

// How runs are marked up: font elements on a plain page, b elements styled on a square one.
struct RunMarkup
{
    std::string_view close, open, background, rowEnd;
};
constexpr RunMarkup kFontRuns{"</font>", "<font color=#", " style=background:#", "</font><br>"};
constexpr RunMarkup kStyledRuns{"</b>", "<b style=color:#", ";background:#", "</b><br>"};

} // namespace

std::string squarePageHead(const PageOptions &options, int charsPerPixel)
{
    // A cell is one line high and as wide: line height 1.2 em in whole pixels, and each character
    // spaced so that the cell's characters, one "ch" wide each in a monospace font, fill it.
    const int size = fontPixels(options.fontSize);
    const int line = size * 6 / 5;
    const int perPixel = std::max(charsPerPixel, 1);
    const std::string cell = std::to_string(line / perPixel) + (line % perPixel ? ".5" : "") + "px";
    std::string head = "<!DOCTYPE html><html><head><meta charset=utf-8><title>";
    head += kPageCredit;
    head += "</title><style>body{margin:0;background:#";
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
    text += "<b style=color:#FFFFFF>";
    text += kPageCredit;
    text += "</b></body></html>";
    text += kCrLf;
    return text;
}

char *writeStyledHtmlPiece(char *out, const PageOptions &options, uint32_t rgb, bool newRun, bool firstOfRow,
                           const char *chars, int count, bool rowEnd)
{
    const bool square = options.squarePixels;
    const RunMarkup &markup = square ? kStyledRuns : kFontRuns;
    if (newRun) {
        if (!firstOfRow) out = put(out, markup.close);
        out = put(out, markup.open);
        out = writeHex(out, options.fillCells ? fillTextColor(rgb) : rgb);
        if (options.fillCells) {
            out = put(out, markup.background);
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
    if (rowEnd) out = put(out, markup.rowEnd);
    return out;
}

} // namespace engine
