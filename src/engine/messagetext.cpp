// SPDX-License-Identifier: MIT
#include "messagetext.h"

#include <array>
#include <utility>

namespace engine {

const std::u32string_view kAllowedMessageChars =
    U"QWERTYUIOP\u00C5ASDFGHJKL\u00D6\u00C4ZXCVBNM,.-_'1234567890+*/!?@#$%&\\()";

char32_t upperMessageChar(char32_t c)
{
    if ((c >= U'a' && c <= U'z') || c == U'\u00E5' || c == U'\u00E4' || c == U'\u00F6') return c - 0x20;
    return c;
}

std::optional<std::size_t> firstDisallowedChar(std::u32string_view message)
{
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (kAllowedMessageChars.find(upperMessageChar(message[i])) == std::u32string_view::npos) return i;
    }
    return std::nullopt;
}

std::string toAnsi(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text)
        out += c <= 0xFF ? static_cast<char>(c) : '?';
    return out;
}

std::optional<std::string_view> presetMessage(std::string_view name)
{
    // The letter sets leave out W.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> presets{{
        {"Dec", "0123456789"},
        {"Chr", "ABCDEFGHIJKLMNOPQRSTUVXYZ"},
        {"Chr & Dec", "ABCDEFGHIJKLMNOPQRSTUVXYZ0123456789"},
        {"Hex", "0123456789ABCDEF"},
        {"Oct", "01234567"},
        {"Bin", "01"},
        {"Own message", ""},
    }};
    for (const auto &[preset, text] : presets) {
        if (preset == name) return text;
    }
    return std::nullopt;
}

} // namespace engine
