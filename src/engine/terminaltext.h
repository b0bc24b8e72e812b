// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace engine {

// Text from outside (file names, option values) made safe for a terminal: control characters,
// bytes that are not UTF-8, and the characters that reorder or break lines (bidi controls, line
// and paragraph separators) could move the cursor, retitle or clear the window, or forge lines.

// A name kept on one line: unchanged when nothing in it is unsafe for a terminal (spaces and the
// shell's special characters stay as they are, as scripts reading one name a line expect), else
// quoted as a shell would read it back, in the style of ls: the safe stretches in single quotes and
// each unsafe byte as $'\ooo' (or $'\n', $'\t', ...).
std::string shellQuoted(std::string_view name);

// Free text with each unsafe byte written as a backslash escape (\n, \033, \342), the rest as it is.
std::string escapedText(std::string_view text);

} // namespace engine
