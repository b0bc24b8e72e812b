// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

namespace engine {

// The colours a terminal page is written in: any of 24 bits, the 256-colour palette, or the 16
// basic colours that every colour terminal has.
enum class ColorDepth : uint8_t { Full = 24, Palette = 8, Basic = 4 };

// The nearest colour of the 256-colour palette to rgb (0x00RRGGBB): of its 6 x 6 x 6 cube
// (16 to 231) and its grey ramp (232 to 255), whichever is nearer. The first 16, which terminals
// set as they like, are never chosen.
int paletteIndex(uint32_t rgb);
// The nearest of the 16 basic colours (0 to 7 normal, 8 to 15 bright), as terminals commonly show them.
int basicColor(uint32_t rgb);

// The longest escape sequence below: ESC [ 48;2;255;255;255 m.
inline constexpr std::size_t kLongestAnsiColor = 19;

// Writes at out the escape sequence that sets the characters' colour (foreground) or the cells'
// colour (background) to rgb at depth, and returns the end: 38;2;R;G;B / 48;2;R;G;B, 38;5;N /
// 48;5;N, or 30-37, 90-97 / 40-47, 100-107.
char *writeAnsiForeground(char *out, uint32_t rgb, ColorDepth depth);
char *writeAnsiBackground(char *out, uint32_t rgb, ColorDepth depth);

} // namespace engine
