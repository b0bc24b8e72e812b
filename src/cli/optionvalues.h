// SPDX-License-Identifier: MIT
#pragma once

#include "commandline.h"
#include "convertoptions.h"

namespace cli {

// Each reads the values of a few options into the job; on a bad value it sets job.error, naming
// the option and the value, and returns false.
bool readSizeOptions(const ParsedLine &p, ConvertJob &job);      // size, area, format, colour depth, jobs
bool readPageOptions(const ParsedLine &p, ConvertJob &job);      // quality, font size, background, switches, seed
bool readCharacterOptions(const ParsedLine &p, ConvertJob &job); // message, preset and replacements

// "invalid --name \"value\": expected"
std::string invalid(OptionId option, const std::string &value, const std::string &expected);

} // namespace cli
