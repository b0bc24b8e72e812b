// SPDX-License-Identifier: MIT
#pragma once

#include "numbers.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// Splits at every single space; two spaces in a row give an empty field between them.
std::vector<std::string_view> splitAtSpaces(std::string_view text);
// Splits at runs of white space (space, tab, line ends); none gives no field.
std::vector<std::string_view> splitAtWhiteSpace(std::string_view text);

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

// How a render area code is written. The window's code is strict about its single spaces and reads
// its fields as the window reads numbers; the converter's --area forgives white space.
struct AreaSyntax
{
    bool anyWhiteSpace; // fields part at runs of white space, else at each single space
    bool onlyFour;      // a fifth field is refused, else passed over
    NumberSyntax numbers;
};
inline constexpr AreaSyntax kAreaCode{false, false, kFieldNumber};
inline constexpr AreaSyntax kAreaOption{true, true, kSignedDigits};

// Reads a render area code: four fields as 16-bit whole numbers; where they lie is the caller's
// check. Throws Failure for too few (or, if syntax says, too many) fields or a field that is not
// such a number.
RenderArea readRenderArea(std::string_view code, const AreaSyntax &syntax);

inline RenderArea splitrenderareacode(std::string_view code)
{
    return readRenderArea(code, kAreaCode);
}

} // namespace engine
