// SPDX-License-Identifier: MIT
// One number box of the render area dialog as typed or pasted: numeric or not, its whole number
// rounded half to even, and its 16-bit conversion agreeing with both.
#include "engine/failure.h"
#include "engine/numbers.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::optional<double> number = engine::parseNumber(text);
    const double whole = number ? engine::roundHalfEven(*number) : 0;
    const double off = number ? std::fabs(whole - *number) : 0;
    if (number && std::isfinite(*number) &&
        (whole != std::floor(whole) || off > 0.5 || (off == 0.5 && std::fmod(whole, 2.0) != 0)))
        __builtin_trap();
    // A refusal shows the typed number plus one, which must read back as that number.
    if (number && std::strtod(engine::shortestDecimal(*number + 1).c_str(), nullptr) != *number + 1) __builtin_trap();
    try {
        if (engine::toInt16(text, "fuzz") != whole || !number) __builtin_trap();
    } catch (const engine::Failure &failure) {
        const bool fits = number && whole >= INT16_MIN && whole <= INT16_MAX;
        const auto expected = number ? engine::ErrorNumber::Overflow : engine::ErrorNumber::TypeMismatch;
        if (fits || failure.number() != int32_t(expected)) __builtin_trap();
    }
    return 0;
}
