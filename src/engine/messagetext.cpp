// SPDX-License-Identifier: MIT
#include "messagetext.h"

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

// The letter sets leave out W.
const std::array<MessagePreset, 7> kMessagePresets{{
    {"Dec", "0123456789"},
    {"Chr", "ABCDEFGHIJKLMNOPQRSTUVXYZ"},
    {"Chr & Dec", "ABCDEFGHIJKLMNOPQRSTUVXYZ0123456789"},
    {"Hex", "0123456789ABCDEF"},
    {"Oct", "01234567"},
    {"Bin", "01"},
    {kOwnMessage, ""},
}};

std::optional<std::string_view> presetMessage(std::string_view name)
{
    for (const MessagePreset &preset : kMessagePresets) {
        if (preset.name == name) return preset.text;
    }
    return std::nullopt;
}

} // namespace engine
