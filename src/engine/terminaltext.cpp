// SPDX-License-Identifier: MIT
#include "terminaltext.h"

#include <cstdint>
#include <cstdio>

namespace engine {

namespace {

// Length of the UTF-8 character at text[i] when it is safe to show as it is, else 0.
std::size_t safeLength(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return k < text.size() ? uint8_t(text[k]) : 0u; };
    const uint32_t b = byte(i);
    if (b < 0x80) return b >= 0x20 && b != 0x7F ? 1 : 0;
    const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
    if (length == 0 || b > 0xF4) return 0;
    uint32_t code = b & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = code << 6 | (byte(i + k) & 0x3F);
    }
    const bool shortest = code >= (length == 2 ? 0x80u : length == 3 ? 0x800u : 0x10000u);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    const bool control = code <= 0x9F || code == 0x061C || code == 0x200E || code == 0x200F ||
                         (code >= 0x2028 && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
    return shortest && !surrogate && !control && code <= 0x10FFFF ? length : 0;
}

void appendEscape(std::string &out, uint8_t byte)
{
    switch (byte) {
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        char octal[8];
        std::snprintf(octal, sizeof octal, "\\%03o", unsigned(byte));
        out += octal;
    }
}

} // namespace

std::string shellQuoted(std::string_view name)
{
    bool plain = true;
    for (std::size_t i = 0, n; plain && i < name.size(); i += n)
        plain = (n = safeLength(name, i)) > 0;
    if (plain) return std::string(name);
    std::string out;
    bool quoted = false; // inside '...'
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t n = safeLength(name, i);
        if (n == 0) {
            out += quoted ? "'$'" : "$'";
            appendEscape(out, uint8_t(name[i++]));
            out += '\'';
            quoted = false;
            continue;
        }
        if (!quoted) out += '\'';
        quoted = true;
        if (name[i] == '\'')
            out += "'\\''";
        else
            out.append(name.substr(i, n));
        i += n;
    }
    if (quoted) out += '\'';
    return out;
}

std::string escapedText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t n = safeLength(text, i)) {
            out.append(text.substr(i, n));
            i += n;
        } else {
            appendEscape(out, uint8_t(text[i++]));
        }
    }
    return out;
}

} // namespace engine
