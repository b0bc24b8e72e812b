// SPDX-License-Identifier: MIT
#include "colordepth.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace engine {

namespace {

// The channel levels of the palette's cube.
constexpr std::array<int, 6> kCubeLevels{0, 95, 135, 175, 215, 255};

// xterm's defaults, which most terminals keep or come near.
constexpr std::array<uint32_t, 16> kBasicColors{
    0x000000, 0xCD0000, 0x00CD00, 0xCDCD00, 0x0000EE, 0xCD00CD, 0x00CDCD, 0xE5E5E5,
    0x7F7F7F, 0xFF0000, 0x00FF00, 0xFFFF00, 0x5C5CFF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

int red(uint32_t rgb)
{
    return int(rgb >> 16 & 0xFF);
}
int green(uint32_t rgb)
{
    return int(rgb >> 8 & 0xFF);
}
int blue(uint32_t rgb)
{
    return int(rgb & 0xFF);
}

int distance(uint32_t a, uint32_t b)
{
    const int r = red(a) - red(b), g = green(a) - green(b), l = blue(a) - blue(b);
    return r * r + g * g + l * l;
}

// The cube level nearest to a channel value: the levels' midpoints are 48, 115, 155, 195 and 235.
int cubeStep(int value)
{
    return value < 48 ? 0 : value < 115 ? 1 : (value - 35) / 40;
}

uint32_t grey(int level)
{
    return uint32_t(level) * 0x010101u;
}

char *writeText(char *out, std::string_view text)
{
    return std::copy(text.begin(), text.end(), out);
}

char *writeDecimal(char *out, int value)
{
    if (value >= 100) *out++ = char('0' + value / 100);
    if (value >= 10) *out++ = char('0' + value / 10 % 10);
    *out++ = char('0' + value % 10);
    return out;
}

// ESC [ then the layer's code (3 foreground, 4 background) and the colour at depth.
char *writeAnsiColor(char *out, char layer, uint32_t rgb, ColorDepth depth)
{
    out = writeText(out, "\x1b[");
    if (depth == ColorDepth::Basic) {
        const int color = basicColor(rgb);
        if (color >= 8)
            out = writeText(out, layer == '3' ? "9" : "10");
        else
            *out++ = layer;
        *out++ = char('0' + color % 8);
    } else if (depth == ColorDepth::Palette) {
        *out++ = layer;
        out = writeDecimal(writeText(out, "8;5;"), paletteIndex(rgb));
    } else {
        *out++ = layer;
        out = writeDecimal(writeText(out, "8;2;"), red(rgb));
        *out++ = ';';
        out = writeDecimal(out, green(rgb));
        *out++ = ';';
        out = writeDecimal(out, blue(rgb));
    }
    *out++ = 'm';
    return out;
}

} // namespace

int paletteIndex(uint32_t rgb)
{
    const int r = cubeStep(red(rgb)), g = cubeStep(green(rgb)), b = cubeStep(blue(rgb));
    const uint32_t cube = uint32_t(kCubeLevels[r]) << 16 | uint32_t(kCubeLevels[g]) << 8 | uint32_t(kCubeLevels[b]);
    // The ramp runs 8, 18, ..., 238 without black and white, which the cube has.
    const int mean = (red(rgb) + green(rgb) + blue(rgb)) / 3;
    const int step = std::clamp((mean - 3) / 10, 0, 23);
    const int cubeIndex = 16 + 36 * r + 6 * g + b;
    return distance(rgb, grey(8 + 10 * step)) < distance(rgb, cube) ? 232 + step : cubeIndex;
}

int basicColor(uint32_t rgb)
{
    int nearest = 0;
    for (int i = 1; i < int(kBasicColors.size()); ++i)
        if (distance(rgb, kBasicColors[std::size_t(i)]) < distance(rgb, kBasicColors[std::size_t(nearest)]))
            nearest = i;
    return nearest;
}

char *writeAnsiForeground(char *out, uint32_t rgb, ColorDepth depth)
{
    return writeAnsiColor(out, '3', rgb, depth);
}

char *writeAnsiBackground(char *out, uint32_t rgb, ColorDepth depth)
{
    return writeAnsiColor(out, '4', rgb, depth);
}

} // namespace engine
