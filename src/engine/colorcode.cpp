// SPDX-License-Identifier: MIT
#include "colorcode.h"

#include "failure.h"
#include "numbers.h"

#include <algorithm>
#include <cmath>

namespace engine {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendTwoDigits(std::string &out, int value)
{
    if (value < 10) out += '0';
    out += std::to_string(value);
}

} // namespace

// For a whole drift d and any tolerance t, d > t exactly when d > floor(t), and d < -t exactly
// when -d > floor(t); so the band test can run on whole numbers.
ColorEncoder::ColorEncoder(double quality)
    : m_tolerance(static_cast<int>(std::clamp(std::floor((100 - quality) / 2), -1e6, 1e6)))
{
}

[[noreturn, gnu::noinline, gnu::cold]] static void driftOverflow()
{
    throw Failure(ErrorNumber::Overflow, "Overflow: colour drift leaves the 16-bit range", "ColorEncoder");
}

inline int16_t ColorEncoder::encodeChannel(int value, int16_t &held, int16_t &drift) const
{
    const int sum = drift + (value - held);
    if (sum < INT16_MIN || sum > INT16_MAX) driftOverflow();
    // The band includes its edges: a drift of exactly the tolerance still holds. Written without
    // branches: at quality 100 whether a channel holds is as unpredictable as the picture.
    const bool holds = sum <= m_tolerance && -sum <= m_tolerance;
    drift = static_cast<int16_t>(holds ? sum : 0);
    held = static_cast<int16_t>(holds ? held : value);
    return held;
}

uint32_t ColorEncoder::ConvertRGB(int32_t color)
{
    const uint32_t c = static_cast<uint32_t>(color) & 0xFFFFFF;
    const int red = encodeChannel(c & 0xFF, m_state.heldred, m_state.driftred);
    const int green = encodeChannel((c >> 8) & 0xFF, m_state.heldgreen, m_state.driftgreen);
    const int blue = encodeChannel((c >> 16) & 0xFF, m_state.heldblue, m_state.driftblue);
    m_state.encoded = true;
    return (uint32_t(red) << 16) | (uint32_t(green) << 8) | uint32_t(blue);
}

uint32_t ColorEncoder::ConvertRGB(std::string_view colortext)
{
    return ConvertRGB(toInt32(colortext, "ColorEncoder"));
}

std::string ColorEncoder::hexcolor() const
{
    std::string out;
    if (m_state.encoded)
        appendHex(out,
                  (uint32_t(m_state.heldred) << 16) | (uint32_t(m_state.heldgreen) << 8) | uint32_t(m_state.heldblue));
    return out;
}

std::string ColorEncoder::rgbText() const
{
    std::string out;
    appendTwoDigits(out, m_state.heldred);
    appendTwoDigits(out, m_state.heldgreen);
    appendTwoDigits(out, m_state.heldblue);
    return out;
}

char *writeHex(char *out, uint32_t rgb)
{
    for (int shift = 16; shift >= 0; shift -= 8) {
        const uint32_t byte = (rgb >> shift) & 0xFF;
        *out++ = kHexDigits[byte >> 4];
        *out++ = kHexDigits[byte & 0xF];
    }
    return out;
}

void appendHex(std::string &out, uint32_t rgb)
{
    char digits[6];
    out.append(digits, writeHex(digits, rgb));
}

} // namespace engine
