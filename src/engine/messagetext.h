// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// The characters a message may hold, after upper-casing, in the order the refusal lists them.
extern const std::u32string_view kAllowedMessageChars;

// Upper-cases a-z and the Nordic letters å ä ö; every other character is returned unchanged.
char32_t upperMessageChar(char32_t c);

// Index of the first character that is not allowed once upper-cased, or nullopt if all are.
std::optional<std::size_t> firstDisallowedChar(std::u32string_view message);

// Single-byte Windows-1252 text of a message. Allowed characters all lie in Latin-1, where
// Windows-1252 agrees with Unicode; anything beyond one byte becomes '?'.
std::string toAnsi(std::u32string_view text);

// The message presets in list order: a name, and the text it puts into the message box.
// "Own message" gives the empty text, for the user to type.
struct MessagePreset
{
    std::string_view name;
    std::string_view text;
};
extern const std::array<MessagePreset, 7> kMessagePresets;
inline constexpr std::string_view kDefaultPreset = "Bin";
inline constexpr std::string_view kOwnMessage = "Own message";

// The text a message preset puts into the message box, or nullopt for a name that is no preset.
std::optional<std::string_view> presetMessage(std::string_view name);

} // namespace engine
