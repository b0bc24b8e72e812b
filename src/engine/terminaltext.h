// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace engine {

// Text from outside (file names, option values) made safe for a terminal: control characters,
// bytes that are not UTF-8, and the characters that reorder or break lines (bidi controls, line
// and paragraph separators) could move the cursor, retitle or clear the window, or forge lines.

// A name as a shell would read it back, in the quoting style of ls: unchanged when nothing in it
// needs quoting, else the safe stretches in single quotes and each unsafe byte as $'\ooo' (or
// $'\n', $'\t', ...), so that it stays on one line.
std::string shellQuoted(std::string_view name);

// Free text with each unsafe byte written as a backslash escape (\n, \033, \342), the rest as it is.
std::string escapedText(std::string_view text);

} // namespace engine
