// SPDX-License-Identifier: MIT
#pragma once

#include "colorcode.h"
#include "document.h"
#include "renderarea.h"
#include "replacements.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// Where the scan reads pixels: the colour shown at (column, row) of the drawing area as
// 0x00BBGGRR, or -1 for a point that cannot be read.
class PixelSource
{
public:
    virtual ~PixelSource() = default;
    virtual int32_t pixel(int x, int y) = 0;
    // The n pixels from (x, y) rightwards, as pixel() gives them; one call for a stretch of a row.
    virtual void pixels(int x, int y, int n, int32_t *out)
    {
        for (int i = 0; i < n; ++i)
            out[i] = pixel(x + i, y);
    }
};

// The scan's caller. processEvents() is where a window lets STOP clicks and timer ticks through;
// the page on disk is complete up to the last piece whenever it is called.
class ScanHost
{
public:
    virtual ~ScanHost() = default;
    virtual void processEvents() = 0;
};

// An event interval for a program without a window: events never run.
inline constexpr std::chrono::nanoseconds kNoEvents = std::chrono::nanoseconds::max();

struct ScanSettings
{
    RenderArea area;
    int32_t pixelCount = 90000; // pixels to convert; agrees with the area
    std::string message = "01"; // Windows-1252 bytes, written as given ('&' as "&amp;")
    bool randomOrder = true;
    bool twoCharsPerPixel = true;
    double quality = 100;
    std::vector<std::string> replacements; // ignore list entries, "A > B", in list order
    PageOptions page;
    uint32_t seed = 0; // random characters: the generator is seeded once per conversion
    // Scan work between two calls of processEvents(); zero calls it after every pixel, and
    // kNoEvents never: the page then stays open from its head to its tail.
    std::chrono::nanoseconds eventInterval = std::chrono::milliseconds(10);

    // Whether a pixel is drawn about square: two characters are, and so is every cell of a square page.
    bool squareCells() const { return twoCharsPerPixel || (page.squarePixels && page.format == PageFormat::Html); }
};

enum class ScanResult { Completed, Stopped };

// What the progress display shows of a conversion: whole rows and their pixels done, and the
// colour (0x00RRGGBB) of the last encoded pixel, if any was.
struct ScanProgress
{
    int32_t linesDone = 0;
    int32_t pixelsDone = 0;
    bool encoded = false;
    uint32_t rgb = 0;
};

// A 64-bit linear congruential generator whose high half is the draw: one multiply per
// character. The characters need a uniform draw, not a cryptographic one.
class CharRandom
{
public:
    explicit CharRandom(uint64_t seed) : m_state(seed) {}
    // Uniform in [0, 2^32).
    uint32_t next()
    {
        m_state = m_state * kMultiplier + kIncrement;
        return static_cast<uint32_t>(m_state >> 32);
    }
    // Two draws, as next() twice would give them; both states come from the one before, so the
    // two multiplies need not wait for each other.
    void nextTwo(uint32_t &first, uint32_t &second)
    {
        first = static_cast<uint32_t>((m_state * kMultiplier + kIncrement) >> 32);
        m_state = m_state * (kMultiplier * kMultiplier) + kIncrement * (kMultiplier + 1);
        second = static_cast<uint32_t>(m_state >> 32);
    }

private:
    static constexpr uint64_t kMultiplier = 6364136223846793005ull;
    static constexpr uint64_t kIncrement = 1442695040888963407ull;
    uint64_t m_state;
};

// The message characters of each pixel: in message order, or drawn at random.
class MessageDraw
{
public:
    MessageDraw(const std::string &message, bool randomOrder, bool twoPerPixel, uint32_t seed)
        : m_message(message), m_random(seed), m_randomOrder(randomOrder)
    {
        m_perPixel = message.empty() ? 0 : twoPerPixel ? 2 : 1;
    }
    int perPixel() const { return m_perPixel; }
    // Whether any character needs escaping in a page ('&').
    bool hasAmpersand() const { return m_message.find('&') != std::string_view::npos; }
    // Writes the next pixel's characters at out and returns how many.
    int draw(char *out)
    {
        drawMany(out, m_perPixel);
        return m_perPixel;
    }
    // Writes the next count characters at out, those of count / perPixel() pixels.
    void drawMany(char *out, int count)
    {
        const char *text = m_message.data();
        const uint64_t length = m_message.size();
        if (!m_randomOrder) {
            for (int i = 0; i < count; ++i) {
                if (++m_position > length) m_position = 1;
                out[i] = text[m_position - 1];
            }
            return;
        }
        // floor(r * L) for r = draw / 2^32, uniform in [0, 1); for L a power of two, such as the
        // default message's 2, a shift gives the same and spares a multiply per character.
        if (length != 0 && (length & (length - 1)) == 0) {
            const int shift = 32 - __builtin_ctzll(length);
            drawRandom(out, count, [&](uint32_t draw) { return text[uint64_t(draw) >> shift]; });
        } else {
            drawRandom(out, count, [&](uint32_t draw) { return text[(uint64_t(draw) * length) >> 32]; });
        }
    }

private:
    template <typename Pick> void drawRandom(char *out, int count, Pick pick)
    {
        // The generator in a local: stores through out could alias the member and would force
        // it through memory for every character.
        CharRandom random = m_random;
        int i = 0;
        for (; i + 1 < count; i += 2) {
            uint32_t first, second;
            random.nextTwo(first, second);
            out[i] = pick(first);
            out[i + 1] = pick(second);
        }
        if (i < count) out[i] = pick(random.next());
        m_random = random;
    }

    std::string_view m_message; // the settings' text, which outlives the draw
    CharRandom m_random;
    std::size_t m_position = 0;
    bool m_randomOrder;
    int m_perPixel;
};

// One conversion of a render area into a page: the head, one piece per pixel in row order
// (equal neighbouring colour texts merged into one font run, every row opening a new run),
// then the completion tail, or the abort tail when stopped.
class Conversion
{
public:
    explicit Conversion(ScanSettings settings);

    // Writes the head into the claimed page (see claimNextFreePage()).
    void startDocument(PageFile &page);
    // The same on an open descriptor, such as standard output; name is what failures call it.
    void startDocumentOn(int fd, const std::string &name);
    // Converts every pixel of the area, checking the stop flag before each. Writes the completion
    // tail unless stopped. Failures are thrown as Failure, claimed by ConvertRGB or Loopconvert.
    ScanResult Loopconvert(PixelSource &pixels, ScanHost &host);
    // Stops the scan before its next pixel and ends the page with the abort tail.
    void abort();
    // Stops the scan before its next pixel and leaves the page as written so far: the program is ending.
    void halt() { m_stopconvert = true; }

    const ColorEncoder &encoder() const { return m_encoder; }
    // Colour text of the last pixel after replacement, as shown under "Dec:".
    std::string pixelcolor() const { return m_pixelcolor.toText(); }
    int32_t pixelsDone() const { return m_pixelsDone; } // whole rows only
    int32_t linesDone() const { return m_linesDone; }
    bool stopconvert() const { return m_stopconvert; }
    // Where the conversion stands; after a failed write, where the page on disk ends instead: the
    // rows before the first piece that did not reach the disk, and that piece's colour. The scan
    // ran on while pieces waited in the buffer, so its own counters would say too much.
    ScanProgress progress() const;

    int16_t scanx = 0;
    int16_t scany = 0;
    const int16_t areax1;
    const int16_t areay1;
    const int16_t areax2;
    const int16_t areay2;
    const int16_t totallines;

private:
    uint32_t encodePixel();
    void appendPiece(uint32_t rgb);
    int32_t stretchLength(int32_t count) const;
    void convertStretch(PixelSource &pixels, int32_t n);
    void forgetWrittenColors();
    void endRow();
    std::string tailText(Tail tail) const;
    bool eventsDue(int32_t count);
    void pause();

    ScanSettings m_settings;
    ReplacementList m_replacements;
    ColorEncoder m_encoder;
    DocumentWriter m_writer;
    MessageDraw m_draw;
    bool m_escape; // the message holds a character written escaped
    // Which writer a pixel's piece takes, fixed by the page's options.
    enum class PieceKind { Html, StyledHtml, Terminal } m_pieceKind;
    uint32_t m_previousShade = 0; // of a terminal page's pixel before, by terminalShade()
    PixelColor m_pixelcolor;
    uint32_t m_previousRgb = 0;
    int32_t m_pixelsDone = 0;
    int32_t m_linesDone = 0;
    // Colour of each pixel whose piece may not be on disk yet, from pixel number m_unflushedFrom.
    std::vector<uint32_t> m_unflushedRgb;
    int32_t m_unflushedFrom = 0;
    bool m_stopconvert = false;
    std::chrono::steady_clock::time_point m_eventsDue;
};

} // namespace engine
