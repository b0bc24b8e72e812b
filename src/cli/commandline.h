// SPDX-License-Identifier: MIT
#pragma once

#include "optiontable.h"

#include <array>
#include <string>
#include <vector>

namespace cli {

// The command line read by the usual rules: "--name value" and "--name=value"; switches of one
// letter combined ("-hV"), a value following its letter at once or after "="; "--" ends the
// options; "-" is a picture. An error does not stop the reading, and the last one is told.
struct ParsedLine
{
    std::array<bool, kOptionCount> set{};
    std::array<std::vector<std::string>, kOptionCount> values;
    std::vector<std::string> positional;
    std::string error;

    bool isSet(OptionId id) const { return set[id]; }
    const std::string &value(OptionId id) const
    {
        static const std::string none;
        return values[id].empty() ? none : values[id].back();
    }
};

// arguments[0] is the program.
ParsedLine parseLine(const std::vector<std::string> &arguments);

} // namespace cli
