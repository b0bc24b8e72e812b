// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// How a number may be written. The window's fields forgive a decimal part and spaces; a value on
// the converter's command line is plain digits.
struct NumberSyntax
{
    bool sign = true;         // a leading '+' or '-'
    bool fraction = true;     // a decimal part ("10.5", ".5"); a whole number rounds it half to even
    bool spacesAround = true; // spaces before and after
};
inline constexpr NumberSyntax kFieldNumber{};
inline constexpr NumberSyntax kSignedDigits{true, false, false};
inline constexpr NumberSyntax kDigitsOnly{false, false, false};

// Reads a decimal number written as syntax allows ("12", " -1 ", "10.5", ".5" by default).
// Anything else, including the empty text, is nullopt.
std::optional<double> parseNumber(std::string_view text, NumberSyntax syntax = kFieldNumber);

// A whole number within [least, most] written as syntax allows, or nullopt.
std::optional<long long> readWholeNumber(std::string_view text, double least, double most, NumberSyntax syntax);

// Rounds to the nearest whole number, a half going to the even neighbour (10.5 -> 10, 11.5 -> 12).
double roundHalfEven(double value);

// Text to a signed 16-bit or 32-bit whole number, rounding half to even.
// Throws Failure: TypeMismatch when the text is not a number, Overflow when it does not fit.
int16_t toInt16(std::string_view text, const char *source, NumberSyntax syntax = kFieldNumber);
int32_t toInt32(std::string_view text, const char *source);

[[noreturn, gnu::cold]] void int16Overflow(const char *what, const char *source);
// A whole number kept in a signed 16-bit field; throws Failure (Overflow) when it does not fit.
// Inline: the scan checks its position at every pixel.
inline int16_t checkedInt16(int32_t value, const char *what, const char *source)
{
    if (value < INT16_MIN || value > INT16_MAX) int16Overflow(what, source);
    return static_cast<int16_t>(value);
}

// The shortest decimal text that reads back as the same double: 11 -> "11", 11.5 -> "11.5".
std::string shortestDecimal(double value);

// True when text is exactly how a 32-bit signed number is written in decimal
// (no sign for 0 and up, no leading zeros, no spaces); value receives the number.
bool readCanonicalInt32(std::string_view text, int32_t &value);

} // namespace engine
