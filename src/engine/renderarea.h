// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// Splits at every single space; two spaces in a row give an empty field between them.
std::vector<std::string_view> splitAtSpaces(std::string_view text);

// The rectangle of picture pixels to convert, in pixels of the 300 x 300 drawing area.
// x2 and y2 are exclusive.
struct RenderArea
{
    int16_t x1 = 0;
    int16_t y1 = 0;
    int16_t x2 = 300;
    int16_t y2 = 300;

    int32_t width() const { return x2 - x1; }
    int32_t height() const { return y2 - y1; }
    int32_t pixelCount() const { return width() * height(); }
    // 0 <= x1 < x2 <= 300 and 0 <= y1 < y2 <= 300.
    bool withinBounds() const;
};

inline constexpr int kDrawingAreaSize = 300;

// Reads a render area code: its first four space-separated fields as 16-bit whole numbers.
// Throws Failure for fewer than four fields or a field that is not such a number.
RenderArea splitrenderareacode(std::string_view code);

} // namespace engine
