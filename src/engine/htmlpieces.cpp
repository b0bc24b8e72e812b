// SPDX-License-Identifier: MIT
#include "htmlpieces.h"

namespace engine {

namespace {

// The pieces of pixels after a row's first, of PerPixel (1 or 2) characters that need no
// escaping. At quality 100 nearly every pixel opens a run and at low quality nearly none does, so
// instead of a branch that would often be mispredicted each pixel writes a whole new-run piece,
// and then its characters either after it or, where the run goes on, over its start.
template <int PerPixel>
void writeRowPieces(PieceBatch &batch, const uint32_t *rgbs, const char *chars, int n, uint32_t previous)
{
    static_assert(PerPixel == 1 || PerPixel == 2);
    constexpr std::size_t kOpen = kHtmlNextRun.size() + 7; // the run's opening with its colour and '>'
    char *out = batch.out();
    for (int i = 0; i < n; ++i) {
        const uint32_t rgb = rgbs[i];
        std::memcpy(out, kHtmlNextRun.data(), kHtmlNextRun.size());
        writeHexAndTagEnd(out + kHtmlNextRun.size(), rgb);
        char *const text = opensRun(false, rgb, previous) ? out + kOpen : out;
        std::memcpy(text, chars + i * PerPixel, PerPixel);
        out = text + PerPixel;
        batch.endPiece(out);
        previous = rgb;
    }
}

// writeHtmlStretch() with the characters per pixel and whether any needs escaping fixed at
// compile time, so that their loops unroll.
template <int PerPixel, bool Escape> void writeStretchOf(PieceBatch &batch, const HtmlStretch &stretch)
{
    // The pieces the row loop cannot take: a row's first, which opens its run in its own way, or
    // all of them where characters need escaping or there are none.
    const int general = Escape || PerPixel == 0 ? stretch.count : stretch.rowStart ? 1 : 0;
    uint32_t previous = stretch.previous;
    int i = 0;
    for (; i < general; ++i) {
        const uint32_t rgb = stretch.rgbs[i];
        const bool rowStart = i == 0 && stretch.rowStart;
        batch.endPiece(writeHtmlPiece<Escape>(batch.out(), rgb, opensRun(rowStart, rgb, previous), rowStart,
                                              stretch.chars + i * PerPixel, PerPixel, false));
        previous = rgb;
    }
    if constexpr (!Escape && PerPixel > 0)
        writeRowPieces<PerPixel>(batch, stretch.rgbs + i, stretch.chars + i * PerPixel, stretch.count - i, previous);
}

} // namespace

void writeHtmlStretch(PieceBatch &batch, const HtmlStretch &stretch)
{
    // The batch in a local: stores through its char pointer could alias a reference's members and
    // would force them through memory for every piece.
    PieceBatch local = batch;
    switch (stretch.perPixel * 2 + stretch.escape) {
    case 0:
    case 1:
        writeStretchOf<0, false>(local, stretch);
        break;
    case 2:
        writeStretchOf<1, false>(local, stretch);
        break;
    case 3:
        writeStretchOf<1, true>(local, stretch);
        break;
    case 4:
        writeStretchOf<2, false>(local, stretch);
        break;
    default:
        writeStretchOf<2, true>(local, stretch);
        break;
    }
    batch = local;
}

} // namespace engine
