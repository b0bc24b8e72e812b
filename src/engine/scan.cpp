// SPDX-License-Identifier: MIT
#include "scan.h"

#include "failure.h"
#include "numbers.h"
#include "pageformat.h"

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

} // namespace

Conversion::Conversion(ScanSettings settings)
    : scanx(settings.area.x1), scany(settings.area.y1), areax1(settings.area.x1), areay1(settings.area.y1),
      areax2(settings.area.x2), areay2(settings.area.y2), totallines(checked16(settings.area.height())),
      m_settings(std::move(settings)), m_replacements(m_settings.replacements), m_encoder(m_settings.quality),
      m_random(m_settings.seed)
{
}

void Conversion::startDocument(PageFile &page)
{
    m_writer.start(page, m_settings.page);
}

void Conversion::flush()
{
    m_writer.flush();
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
    m_writer.startOn(fd, name, m_settings.page);
}

ScanResult Conversion::Loopconvert(PixelSource &pixels, ScanHost &host)
{
    m_stopconvert = false;
    m_eventsDue = std::chrono::steady_clock::now();
    try {
        for (int32_t count = 1; count <= m_settings.pixelCount; ++count) {
            if (m_stopconvert) return ScanResult::Stopped;
            scanx = checked16(scanx + 1);
            const int32_t color = pixels.pixel(scanx - 1, scany);
            m_pixelcolor = m_replacements.empty() ? PixelColor{true, color, {}} : m_replacements.apply(color);
            appendPiece(encodePixel());
            if (scanx == areax2) endRow();
            if (scany == areay2) break;
            if (eventsDue(count)) {
                flush();
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
    const PageFormat format = m_settings.page.format;
    if (format == PageFormat::Html) return documentTail(tail, m_settings.page.insertPre);
    return terminalTail(format, tail == Tail::Abort && scanx != areax1);
}

bool Conversion::eventsDue(int32_t count)
{
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
    static constexpr std::string_view kOpenRun = "<font color=#";
    static constexpr std::string_view kNextRun = "</font><font color=#";
    static constexpr std::string_view kRowEnd = "</font><br>";
    static constexpr std::string_view kAmp = "&amp;";
    // Longest piece: a new run, two characters written as "&amp;", and the row end.
    constexpr std::size_t kLongestPiece = kNextRun.size() + 7 + 2 * kAmp.size() + kRowEnd.size();

    // The characters are drawn before anything is written: writes through a char pointer could
    // alias the generator's state and force it through memory for every character.
    const int chars = m_settings.message.empty() ? 0 : m_settings.twoCharsPerPixel ? 2 : 1;
    char picked[2];
    for (int i = 0; i < chars; ++i)
        picked[i] = nextMessageChar();

    if (m_settings.page.format != PageFormat::Html) {
        const bool rowStart = scanx == areax1 + 1;
        const TerminalPiece piece{rgb, picked, chars, rowStart, rowStart || rgb != m_previousRgb, scanx == areax2};
        m_writer.commit(writeTerminalPiece(m_writer.reserve(kLongestTerminalPiece), m_settings.page.format,
                                           m_settings.page, piece));
        m_previousRgb = rgb;
        m_unflushedRgb.push_back(rgb);
        return;
    }
    char *out = m_writer.reserve(kLongestPiece);
    const bool firstOfRow = scanx == areax1 + 1;
    if (firstOfRow || rgb != m_previousRgb) {
        const std::string_view open = firstOfRow ? kOpenRun : kNextRun;
        out = std::copy(open.begin(), open.end(), out);
        out = writeHex(out, rgb);
        *out++ = '>';
    }
    for (int i = 0; i < chars; ++i) {
        const char c = picked[i];
        // A bare '&' could start a character reference that swallows the characters after it.
        if (c == '&')
            out = std::copy(kAmp.begin(), kAmp.end(), out);
        else
            *out++ = c;
    }
    if (scanx == areax2) out = std::copy(kRowEnd.begin(), kRowEnd.end(), out);
    m_previousRgb = rgb;
    m_unflushedRgb.push_back(rgb);
    m_writer.commit(out);
}

char Conversion::nextMessageChar()
{
    const std::string &message = m_settings.message;
    if (m_settings.randomOrder) {
        // floor(r * L) for r = draw / 2^32, uniform in [0, 1).
        return message[(uint64_t(m_random.next()) * message.size()) >> 32];
    }
    if (++m_msgpos > message.size()) m_msgpos = 1;
    return message[m_msgpos - 1];
}

void Conversion::endRow()
{
    scanx = areax1;
    scany = checked16(scany + 1);
    m_pixelsDone += areax2 - areax1;
    ++m_linesDone;
}

} // namespace engine
