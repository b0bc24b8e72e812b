// SPDX-License-Identifier: MIT
#include "scan.h"

#include "failure.h"
#include "htmlpieces.h"
#include "numbers.h"
#include "pageformat.h"
#include "styledpage.h"

#include <algorithm>
#include <string_view>

namespace engine {

namespace {

// Reading the clock costs about as much as a pixel, so it is read once per this many pixels.
constexpr int32_t kClockStride = 256;

int16_t checked16(int32_t value)
{
    return checkedInt16(value, "scan position", "Scanner");
}

std::size_t longestPiece(const PageOptions &page)
{
    if (page.format != PageFormat::Html) return kLongestTerminalPiece;
    return page.fillCells || page.squarePixels ? kLongestStyledPiece : kLongestHtmlPiece;
}

} // namespace

Conversion::Conversion(ScanSettings settings)
    : scanx(settings.area.x1), scany(settings.area.y1), areax1(settings.area.x1), areay1(settings.area.y1),
      areax2(settings.area.x2), areay2(settings.area.y2), totallines(checked16(settings.area.height())),
      m_settings(std::move(settings)), m_replacements(m_settings.replacements), m_encoder(m_settings.quality),
      m_draw(m_settings.message, m_settings.randomOrder, m_settings.twoCharsPerPixel, m_settings.seed),
      m_escape(m_draw.hasAmpersand()),
      m_pieceKind(m_settings.page.format != PageFormat::Html                  ? PieceKind::Terminal
                  : m_settings.page.fillCells || m_settings.page.squarePixels ? PieceKind::StyledHtml
                                                                              : PieceKind::Html)
{
    // Address space only: the pages are touched as colours are recorded.
    m_unflushedRgb.reserve(std::size_t(std::clamp(m_settings.pixelCount, 0, 1 << 20)));
}

void Conversion::startDocument(PageFile &page)
{
    m_writer.start(page, documentHead(m_settings.page, m_draw.perPixel()));
}

void Conversion::pause()
{
    m_writer.pause();
    m_unflushedFrom += int32_t(m_unflushedRgb.size());
    m_unflushedRgb.clear();
}

ScanProgress Conversion::progress() const
{
    const int32_t encoded = m_unflushedFrom + int32_t(m_unflushedRgb.size());
    // Pixel pieces follow the head, which counts as the first piece.
    const int64_t lost = m_writer.piecesWritten() - 1;
    if (!m_writer.failed() || lost < m_unflushedFrom || lost >= encoded)
        return {m_linesDone, m_pixelsDone, m_encoder.state().encoded, m_previousRgb};
    const int32_t width = areax2 - areax1;
    const int32_t rows = int32_t(lost) / width;
    return {rows, rows * width, true, m_unflushedRgb[std::size_t(lost - m_unflushedFrom)]};
}

void Conversion::startDocumentOn(int fd, const std::string &name)
{
    m_writer.startOn(fd, name, documentHead(m_settings.page, m_draw.perPixel()));
}

ScanResult Conversion::Loopconvert(PixelSource &pixels, ScanHost &host)
{
    m_stopconvert = false;
    m_eventsDue = std::chrono::steady_clock::now();
    try {
        for (int32_t count = 1; count <= m_settings.pixelCount; ++count) {
            if (m_stopconvert) return ScanResult::Stopped;
            forgetWrittenColors();
            // Pixels that need nothing after their piece go in stretches; the one after a stretch
            // takes the steps below.
            if (const int32_t n = stretchLength(count); n > 0) {
                convertStretch(pixels, n);
                count += n;
            }
            scanx = checked16(scanx + 1);
            const int32_t color = pixels.pixel(scanx - 1, scany);
            m_pixelcolor = m_replacements.empty() ? PixelColor{true, color, {}} : m_replacements.apply(color);
            appendPiece(encodePixel());
            if (scanx == areax2) endRow();
            if (scany == areay2) break;
            if (eventsDue(count)) {
                pause();
                host.processEvents();
                m_eventsDue = std::chrono::steady_clock::now() + m_settings.eventInterval;
            }
        }
        m_writer.finish(tailText(Tail::Completion));
        m_stopconvert = true;
        return ScanResult::Completed;
    } catch (Failure &failure) {
        failure.claim(Operation::Loopconvert);
        try {
            m_writer.close(); // keep every piece written so far
        } catch (const Failure &) {
        }
        throw;
    }
}

void Conversion::abort()
{
    m_stopconvert = true;
    m_writer.finish(tailText(Tail::Abort));
}

std::string Conversion::tailText(Tail tail) const
{
    return pageTail(m_settings.page, tail, tail == Tail::Abort && scanx != areax1);
}

bool Conversion::eventsDue(int32_t count)
{
    if (m_settings.eventInterval == kNoEvents) return false;
    if (count == 1 || m_settings.eventInterval.count() == 0) return true;
    return count % kClockStride == 0 && std::chrono::steady_clock::now() >= m_eventsDue;
}

uint32_t Conversion::encodePixel()
{
    try {
        return m_pixelcolor.isNumber ? m_encoder.ConvertRGB(m_pixelcolor.number)
                                     : m_encoder.ConvertRGB(m_pixelcolor.text);
    } catch (Failure &failure) {
        failure.claim(Operation::ConvertRGB);
        throw;
    }
}

void Conversion::appendPiece(uint32_t rgb)
{
    char picked[2];
    const int chars = m_draw.draw(picked);
    const bool rowStart = scanx == areax1 + 1;
    const bool newRun = opensRun(rowStart, rgb, m_previousRgb);
    const bool rowEnd = scanx == areax2;
    PieceBatch batch = m_writer.reservePieces({longestPiece(m_settings.page), 1});
    switch (m_pieceKind) {
    case PieceKind::Terminal: {
        const uint32_t shade = terminalShade(rgb, m_settings.page);
        const bool newShade = opensRun(rowStart, shade, m_previousShade);
        m_previousShade = shade;
        batch.endPiece(
            writeTerminalPiece(batch.out(), m_settings.page, {rgb, picked, chars, rowStart, newShade, rowEnd}));
        break;
    }
    case PieceKind::StyledHtml:
        batch.endPiece(
            writeStyledHtmlPiece(batch.out(), m_settings.page, rgb, newRun, rowStart, picked, chars, rowEnd));
        break;
    case PieceKind::Html:
        batch.endPiece(writeHtmlPiece(batch.out(), rgb, newRun, rowStart, picked, chars, rowEnd));
        break;
    }
    m_writer.commit(batch);
    m_previousRgb = rgb;
    m_unflushedRgb.push_back(rgb);
}

// How many pixels from pixel number count on can go through convertStretch(): HTML pixels of
// plain colours inside one row, none of them the row's last, and no point where events may be
// due. 0 where the general steps are needed.
int32_t Conversion::stretchLength(int32_t count) const
{
    if (count == 1 || m_settings.eventInterval.count() == 0 || !m_replacements.empty() ||
        m_pieceKind != PieceKind::Html || m_encoder.mayOverflow() || scany == areay2 || scanx < areax1)
        return 0;
    const int32_t toRowEnd = areax2 - 1 - scanx; // the row's last pixel takes the general steps
    const int32_t toClockCheck = kClockStride - 1 - (count - 1) % kClockStride;
    return std::max(0, std::min({toRowEnd, toClockCheck, m_settings.pixelCount - count}));
}

// The general steps for n pixels of the current row, each part a stretch at a time: the colours,
// the characters, then the pieces.
void Conversion::convertStretch(PixelSource &pixels, int32_t n)
{
    int32_t colors[kClockStride];
    pixels.pixels(scanx, scany, n, colors);
    const std::size_t recorded = m_unflushedRgb.size();
    m_unflushedRgb.resize(recorded + std::size_t(n));
    uint32_t *const rgbs = m_unflushedRgb.data() + recorded;
    m_encoder.ConvertRGBInBand(colors, n, rgbs);
    char chars[2 * kClockStride];
    m_draw.drawMany(chars, int(n) * m_draw.perPixel());

    PieceBatch batch = m_writer.reservePieces(htmlStretchRoom(n));
    writeHtmlStretch(batch, {rgbs, chars, n, m_draw.perPixel(), m_escape, scanx == areax1, m_previousRgb});
    m_writer.commit(batch);
    m_previousRgb = rgbs[n - 1];
    m_pixelcolor = PixelColor{true, colors[n - 1], {}};
    scanx = int16_t(scanx + n);
}

// The colours of pieces on disk are needed no more. They are dropped in batches, so that a scan
// that never pauses keeps about a buffer's worth rather than one per pixel of the picture.
void Conversion::forgetWrittenColors()
{
    constexpr int64_t kBatch = 16384;
    const int64_t written = m_writer.piecesWritten() - 1 - m_unflushedFrom; // the head is a piece too
    if (written < kBatch) return;
    m_unflushedRgb.erase(m_unflushedRgb.begin(), m_unflushedRgb.begin() + written);
    m_unflushedFrom += int32_t(written);
}

void Conversion::endRow()
{
    scanx = areax1;
    scany = checked16(scany + 1);
    m_pixelsDone += areax2 - areax1;
    ++m_linesDone;
}

} // namespace engine
