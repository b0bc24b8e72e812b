// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace engine {

// The colour qualities offered, best first; a quality is a percentage.
inline constexpr std::array<std::string_view, 10> kQualities{"100", "90", "80", "70", "60",
                                                             "50",  "40", "30", "20", "10"};
inline constexpr std::string_view kDefaultQuality = "100";

// Per-channel memory of the colour quality setting. Held values are what the channel emitted
// last; drifts sum (pixel value - held value) since the channel last took a new value.
struct ColorState
{
    int16_t heldred = 0;
    int16_t heldgreen = 0;
    int16_t heldblue = 0;
    int16_t driftred = 0;
    int16_t driftgreen = 0;
    int16_t driftblue = 0;
    bool encoded = false; // false until the first pixel of a conversion; the hex text is empty then
};

// Turns pixel colours (0x00BBGGRR) into the six hex digits of a font run, applying the colour
// quality: at quality Q a channel holds its value while its drift stays within +-(100 - Q) / 2.
class ColorEncoder
{
public:
    explicit ColorEncoder(double quality = 100);

    // Encodes one colour; values outside 0..16777215 are taken modulo 2^24 (-1 is white).
    // Returns the emitted colour as 0x00RRGGBB, the order its hex text is written in.
    // Defined here so that the scan, which calls it for every pixel, can inline it.
    [[gnu::always_inline]] uint32_t ConvertRGB(int32_t color) { return convert<true>(color); }
    // The same for a decimal colour text; throws Failure (TypeMismatch, Overflow) for other text.
    uint32_t ConvertRGB(std::string_view colortext);
    // ConvertRGB() for n colours, into rgbs, for a caller that has seen mayOverflow() false: no
    // drift can leave its field, so the check per channel is left out.
    void ConvertRGBInBand(const int32_t *colors, int n, uint32_t *rgbs)
    {
        if (n <= 0) return;
        if (m_tolerance == 0 && m_state.encoded) {
            // Every colour is written as it is; only the last one's channels are held after.
            for (int i = 0; i < n; ++i)
                rgbs[i] = rgbOrder(static_cast<uint32_t>(colors[i]));
            m_emitted = exactColor(static_cast<uint32_t>(colors[n - 1]) & 0xFFFFFF);
            return;
        }
        // A copy in locals: the stores into rgbs could alias the members.
        ColorEncoder encoder = *this;
        for (int i = 0; i < n; ++i)
            rgbs[i] = encoder.convert<false>(colors[i]);
        *this = encoder;
    }

    const ColorState &state() const { return m_state; }
    // Whether a drift may leave its 16-bit field: only with a band far wider than any quality offered.
    bool mayOverflow() const { return m_tolerance > INT16_MAX - 255; }

    // Six upper-case hex digits of the last emitted colour, RRGGBB, as ConvertRGB returned it;
    // empty before the first pixel.
    std::string hexcolor() const;
    // The channel values as shown under "RGB:": decimal, at least two digits each, no separators.
    std::string rgbText() const;

private:
    // With no tolerance a channel holds only an unchanged value, so every pixel is written in its
    // own colour and no drift survives a pixel. The general rule gives the same, one pixel at a time.
    uint32_t exactColor(uint32_t c)
    {
        m_state.heldred = static_cast<int16_t>(c & 0xFF);
        m_state.heldgreen = static_cast<int16_t>((c >> 8) & 0xFF);
        m_state.heldblue = static_cast<int16_t>(c >> 16);
        return rgbOrder(c);
    }
    // 0x??BBGGRR as 0x00RRGGBB: the top byte shifted out, then the bytes reversed.
    static uint32_t rgbOrder(uint32_t c) { return __builtin_bswap32(c << 8); }
    template <bool Checked> [[gnu::always_inline]] uint32_t convert(int32_t color)
    {
        const uint32_t c = static_cast<uint32_t>(color) & 0xFFFFFF;
        if (m_tolerance == 0 && m_state.encoded) return m_emitted = exactColor(c);
        const uint32_t red = encodeChannel<Checked>(c & 0xFF, m_state.heldred, m_state.driftred);
        const uint32_t green = encodeChannel<Checked>((c >> 8) & 0xFF, m_state.heldgreen, m_state.driftgreen);
        const uint32_t blue = encodeChannel<Checked>((c >> 16) & 0xFF, m_state.heldblue, m_state.driftblue);
        m_state.encoded = true;
        return m_emitted = red << 16 | green << 8 | blue;
    }
    template <bool Checked> int16_t encodeChannel(int value, int16_t &held, int16_t &drift) const
    {
        const int sum = drift + (value - held);
        if (Checked && (sum < INT16_MIN || sum > INT16_MAX)) driftOverflow();
        // The band includes its edges: a drift of exactly the tolerance still holds.
        // -t <= sum <= t as one unsigned comparison: 0 <= sum + t <= 2t. Whether a channel holds
        // follows the picture's noise, so it selects through a mask (all ones when it holds)
        // rather than a branch: at qualities 90 to 60 mispredicted branches made the scan take
        // up to 1.8 times as long.
        const int keep = -int(static_cast<unsigned>(sum + m_holdOffset) <= m_holdSpan);
        drift = static_cast<int16_t>(sum & keep);
        held = static_cast<int16_t>(value + ((held - value) & keep));
        return held;
    }
    [[noreturn, gnu::cold]] static void driftOverflow();

    int m_tolerance; // whole part of the band's half-width; drifts are whole numbers
    // The band as an offset and a span: a drift holds when sum + offset, taken unsigned, is at most
    // the span. A negative tolerance holds nothing: the offset then puts every sum past a span of 0.
    int m_holdOffset = m_tolerance >= 0 ? m_tolerance : 1 << 30;
    unsigned m_holdSpan = m_tolerance >= 0 ? 2 * static_cast<unsigned>(m_tolerance) : 0;
    ColorState m_state;
    uint32_t m_emitted = 0; // what the last ConvertRGB returned
};

// Three upper-case hex digits for each 12-bit value, then the '>' that ends a font tag: a colour
// takes two four-byte moves, the second over the first's '>'. At quality 100 nearly every pixel
// opens a run and writes one. 16 KiB: the table fits in the first-level cache.
inline constexpr std::array<std::array<char, 4>, 4096> kHexTriples = [] {
    constexpr char digits[] = "0123456789ABCDEF";
    std::array<std::array<char, 4>, 4096> triples{};
    for (int value = 0; value < 4096; ++value)
        triples[value] = {digits[value >> 8], digits[(value >> 4) & 0xF], digits[value & 0xF], '>'};
    return triples;
}();

// Writes the six hex digits of a 0x00RRGGBB value at out; returns the end.
inline char *writeHex(char *out, uint32_t rgb)
{
    std::memcpy(out, kHexTriples[(rgb >> 12) & 0xFFF].data(), 3);
    std::memcpy(out + 3, kHexTriples[rgb & 0xFFF].data(), 3);
    return out + 6;
}
// The colour of the characters in a cell filled with rgb (0x00RRGGBB): a fifth of the way to
// black, or to white on a colour too dark to darken (luma below a quarter), so the message stays
// readable up close while the cell seen whole keeps about its colour. Darkening nearly all of them
// shifts the picture's brightness a little instead of flattening its contrast.
uint32_t fillTextColor(uint32_t rgb);
// Appends the six hex digits of a 0x00RRGGBB value.
void appendHex(std::string &out, uint32_t rgb);
// The texts an emitted 0x00RRGGBB colour is shown as: "FF0000" and "2550000".
std::string hexText(uint32_t rgb);
std::string rgbText(uint32_t rgb);

} // namespace engine
