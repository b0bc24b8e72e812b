// SPDX-License-Identifier: MIT
#include "utf8text.h"

namespace cli {

std::size_t characterLength(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    for (std::size_t i = 1; i < length; ++i)
        if (at + i >= text.size() || (static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 1;
    return length;
}

std::u32string decodeUtf8(std::string_view text)
{
    std::u32string characters;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = characterLength(text, at);
        const auto lead = static_cast<unsigned char>(text[at]);
        char32_t c = length == 1 ? (lead < 0x80 ? lead : 0xFFFD) : lead & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i)
            c = c << 6 | (static_cast<unsigned char>(text[at + i]) & 0x3F);
        characters += c;
        at += length;
    }
    return characters;
}

std::string encodeUtf8(std::u32string_view characters)
{
    std::string text;
    for (const char32_t c : characters) {
        if (c < 0x80) {
            text += char(c);
        } else if (c < 0x800) {
            text += char(0xC0 | c >> 6);
            text += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += char(0xE0 | c >> 12);
            text += char(0x80 | (c >> 6 & 0x3F));
            text += char(0x80 | (c & 0x3F));
        } else {
            text += char(0xF0 | c >> 18);
            text += char(0x80 | (c >> 12 & 0x3F));
            text += char(0x80 | (c >> 6 & 0x3F));
            text += char(0x80 | (c & 0x3F));
        }
    }
    return text;
}

} // namespace cli
