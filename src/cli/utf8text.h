// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace cli {

// Bytes of the character starting text[at]: a UTF-8 sequence, or one byte that starts none.
std::size_t characterLength(std::string_view text, std::size_t at);

// Text in UTF-8 as characters; a byte that starts no character stands for U+FFFD.
std::u32string decodeUtf8(std::string_view text);

std::string encodeUtf8(std::u32string_view characters);

} // namespace cli
