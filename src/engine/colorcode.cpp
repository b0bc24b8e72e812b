// SPDX-License-Identifier: MIT
#include "colorcode.h"

#include "failure.h"
#include "numbers.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace engine {

namespace {

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

void ColorEncoder::driftOverflow()
{
    throw Failure(ErrorNumber::Overflow, "Overflow: colour drift leaves the 16-bit range", "ColorEncoder");
}

uint32_t ColorEncoder::ConvertRGB(std::string_view colortext)
{
    return ConvertRGB(toInt32(colortext, "ColorEncoder"));
}

std::string ColorEncoder::hexcolor() const
{
    std::string out;
    if (m_state.encoded) appendHex(out, m_emitted);
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

uint32_t fillTextColor(uint32_t rgb)
{
    const uint32_t red = rgb >> 16, green = rgb >> 8 & 0xFF, blue = rgb & 0xFF;
    // Rec. 601 luma, in 1/256ths.
    const bool light = red * 77 + green * 150 + blue * 29 >= 64 * 256;
    const auto shade = [light](uint32_t c) { return light ? c - c / 5 : c + (255 - c) / 5; };
    return shade(red) << 16 | shade(green) << 8 | shade(blue);
}

std::string hexText(uint32_t rgb)
{
    std::string out;
    appendHex(out, rgb);
    return out;
}

std::string rgbText(uint32_t rgb)
{
    std::string out;
    appendTwoDigits(out, int(rgb >> 16));
    appendTwoDigits(out, int((rgb >> 8) & 0xFF));
    appendTwoDigits(out, int(rgb & 0xFF));
    return out;
}

void appendHex(std::string &out, uint32_t rgb)
{
    char digits[6];
    out.append(digits, writeHex(digits, rgb));
}

} // namespace engine
