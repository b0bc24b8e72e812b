// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// A new option: its id here, its row in kOptions (names, value, help text), its place in a help
// group, then the check of its value in optionvalues.cpp.
enum OptionId {
    kOutput,
    kFormat,
    kJobs,
    kWidth,
    kHeight,
    kSize,
    kFit,
    kArea,
    kQuality,
    kFontSize,
    kBackground,
    kNoPre,
    kFill,
    kSquare,
    kSingle,
    kSequential,
    kSeed,
    kMessage,
    kPreset,
    kReplace,
    kColorDepth,
    kHelp,
    kVersion,
    kOptionCount
};

struct Option
{
    std::vector<std::string_view> names; // one letter: -x; longer: --name
    std::string_view valueName;          // empty: a switch
    std::string description;             // limits and lists in it come from the engine
};

// In the order of OptionId.
extern const std::array<Option, kOptionCount> kOptions;

struct OptionGroup
{
    const char *title;
    std::vector<OptionId> options;
};

// The help's groups, in the order shown.
const std::vector<OptionGroup> &optionGroups();

std::optional<OptionId> findOption(std::string_view name);

// The options in groups, then a few examples.
std::string helpText();

// The engine's lists as the help and the errors write them.
std::string sideRange();                              // "1 to 2000"
std::string fontSizeRange();                          // "1 to 7"
std::string qualityList(bool whole);                  // every quality, or the first two and the last
std::string presetNames(std::string_view beforeLast); // a name with a space in quotes
std::string defaultMessage();

} // namespace cli
