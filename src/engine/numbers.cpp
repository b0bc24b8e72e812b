// SPDX-License-Identifier: MIT
#include "numbers.h"

#include "failure.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace engine {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view trimSpaces(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

double toWhole(std::string_view text, double low, double high, const char *source, NumberSyntax syntax = kFieldNumber)
{
    const std::optional<double> number = parseNumber(text, syntax);
    if (!number)
        throw Failure(ErrorNumber::TypeMismatch, "Type mismatch: \"" + std::string(text) + "\" is not a number",
                      source);
    const double whole = roundHalfEven(*number);
    if (whole < low || whole > high)
        throw Failure(ErrorNumber::Overflow, "Overflow: " + std::string(text) + " does not fit the field", source);
    return whole;
}

} // namespace

std::optional<double> parseNumber(std::string_view text, NumberSyntax syntax)
{
    if (syntax.spacesAround) text = trimSpaces(text);
    std::size_t i = 0;
    if (syntax.sign && i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (syntax.fraction && i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0 || i != text.size()) return std::nullopt;
    // from_chars, unlike strtod, ignores the locale: a German desktop must not read "10.5" as 10.
    if (text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Hundreds of digits: too big for a double, or too close to zero, as strtod would round it.
        const bool big = text.find_first_not_of("-0") < std::min(text.find('.'), text.size());
        const double magnitude = big ? HUGE_VAL : 0.0;
        return text.front() == '-' ? -magnitude : magnitude;
    }
    return error == std::errc() && end == text.data() + text.size() ? std::optional(value) : std::nullopt;
}

double roundHalfEven(double value)
{
    const double down = std::floor(value);
    const double fraction = value - down;
    if (fraction > 0.5) return down + 1;
    if (fraction < 0.5) return down;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

std::optional<long long> readWholeNumber(std::string_view text, double least, double most, NumberSyntax syntax)
{
    const std::optional<double> number = parseNumber(text, syntax);
    if (!number) return std::nullopt;
    const double whole = roundHalfEven(*number);
    if (whole < least || whole > most) return std::nullopt;
    return static_cast<long long>(whole);
}

int16_t toInt16(std::string_view text, const char *source, NumberSyntax syntax)
{
    return static_cast<int16_t>(toWhole(text, INT16_MIN, INT16_MAX, source, syntax));
}

int32_t toInt32(std::string_view text, const char *source)
{
    return static_cast<int32_t>(toWhole(text, INT32_MIN, INT32_MAX, source));
}

void int16Overflow(const char *what, const char *source)
{
    throw Failure(ErrorNumber::Overflow, std::string("Overflow: ") + what + " leaves the 16-bit range", source);
}

std::string shortestDecimal(double value)
{
    // As printf's %g would write it in the C locale, whatever the user's locale.
    char buffer[32];
    char *end = buffer;
    for (int precision = 1; precision <= 17; ++precision) {
        end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision).ptr;
        double back = 0;
        std::from_chars(buffer, end, back);
        if (back == value) break;
    }
    return std::string(buffer, end);
}

bool readCanonicalInt32(std::string_view text, int32_t &value)
{
    if (text.empty() || text.front() == '+') return false;
    const std::string_view digits = text.front() == '-' ? text.substr(1) : text;
    if (digits.empty() || (digits.front() == '0' && (digits.size() > 1 || text.front() == '-'))) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace engine
