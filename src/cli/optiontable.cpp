// SPDX-License-Identifier: MIT
#include "optiontable.h"

#include "convertoptions.h"

#include "engine/colorcode.h"
#include "engine/document.h"
#include "engine/messagetext.h"
#include "engine/scaling.h"

#include <algorithm>

namespace cli {

std::string sideRange()
{
    return "1 to " + std::to_string(engine::kMaxScaledSide);
}

std::string fontSizeRange()
{
    // The list runs largest first.
    return std::string(engine::kFontSizes.back()) + " to " + std::string(engine::kFontSizes.front());
}

std::string qualityList(bool whole)
{
    const auto &q = engine::kQualities;
    if (!whole) return std::string(q[0]) + ", " + std::string(q[1]) + ", ..., " + std::string(q.back());
    std::string list;
    for (const std::string_view quality : q)
        list += (list.empty() ? "" : ", ") + std::string(quality);
    return list;
}

std::string presetNames(std::string_view beforeLast)
{
    std::vector<std::string> names;
    for (const engine::MessagePreset &preset : engine::kMessagePresets) {
        if (preset.text.empty()) continue; // the user's own message is no preset here
        const bool spaced = preset.name.find(' ') != std::string_view::npos;
        names.push_back(spaced ? "\"" + std::string(preset.name) + "\"" : std::string(preset.name));
    }
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i)
        list += (i == 0 ? "" : i + 1 == names.size() ? std::string(beforeLast) : ", ") + names[i];
    return list;
}

std::string defaultMessage()
{
    return std::string(*engine::presetMessage(engine::kDefaultPreset));
}

const std::array<Option, kOptionCount> kOptions{{
    {{"o", "output"}, "FILE", "Write the page to FILE (one picture only); - is standard output."},
    {{"format"}, "html|ansi|text", "Page format: html (default), ansi (colour for terminals) or text."},
    {{"j", "jobs"}, "N", "Convert N pictures at once (default: one per processor core)."},
    {{"width"}, "W", "Scale the picture to W pixels wide (" + sideRange() + ")."},
    {{"height"}, "H", "Scale the picture to H pixels high (" + sideRange() + ")."},
    {{"size"}, "WxH", "Scale the picture to exactly W x H pixels."},
    {{"fit"}, "", "Shrink a picture larger than the 300 x 300 box to fit it."},
    {{"area"}, "X1 Y1 X2 Y2", "Render area \"X1 Y1 X2 Y2\", X2 and Y2 exclusive."},
    {{"quality"}, "Q", "Colour quality: " + qualityList(false) + "."},
    {{"font-size"}, "N", "HTML font size, " + fontSizeRange() + "."},
    {{"background"}, "black|white", "Page background: black or white."},
    {{"no-pre"}, "", "Do not wrap the page in <pre>."},
    {{"fill"}, "", "Fill each cell with its pixel's colour, the characters a shade of it; text ignores it."},
    {{"square"}, "", "Draw each pixel square in any browser (an HTML5 page with a style sheet)."},
    {{"single"}, "", "One character per pixel (default two)."},
    {{"sequential"}, "", "Take message characters in order (default at random)."},
    {{"seed"}, "N", "Seed for the random characters."},
    {{"message"}, "TEXT", "Message characters (default \"" + defaultMessage() + "\")."},
    {{"preset"}, "NAME", "Message preset: " + presetNames(" or ") + "."},
    {{"replace"}, "A > B", "Write colour A as colour B (0x00BBGGRR decimals); repeatable, in order."},
    {{"color-depth"}, "24|8|4", "Colours of ansi pages: 24-bit, the 256-colour palette or the 16 basic ones."},
    {{"h", "help"}, "", "Show this help."},
    {{"V", "version"}, "", "Show the version."},
}};

const std::vector<OptionGroup> &optionGroups()
{
    static const std::vector<OptionGroup> groups{
        {"Input and output", {kOutput, kFormat, kJobs, kHelp, kVersion}},
        {"Size", {kWidth, kHeight, kSize, kFit, kArea}},
        {"Characters", {kMessage, kPreset, kSingle, kSequential, kSeed}},
        {"Colours", {kQuality, kReplace, kColorDepth}},
        {"Page", {kBackground, kFontSize, kNoPre, kFill, kSquare}},
    };
    return groups;
}

std::optional<OptionId> findOption(std::string_view name)
{
    for (int id = 0; id < kOptionCount; ++id) {
        const auto &names = kOptions[std::size_t(id)].names;
        if (std::find(names.begin(), names.end(), name) != names.end()) return OptionId(id);
    }
    return std::nullopt;
}

std::string helpText()
{
    std::string text = "Usage: lumirune-convert [options] PICTURE...\n"
                       "Turns pictures into web pages drawn in coloured text. Each page is written beside\n"
                       "its picture (cat.bmp gives cat1.htm); a picture named - is read from standard input\n"
                       "and its page written to standard output.\n";
    for (const OptionGroup &group : optionGroups()) {
        text += "\n" + std::string(group.title) + ":\n";
        for (const OptionId id : group.options) {
            const Option &option = kOptions[id];
            std::string names;
            for (const std::string_view name : option.names)
                names += (names.empty() ? "" : ", ") + std::string(name.size() == 1 ? "-" : "--") + std::string(name);
            if (!option.valueName.empty()) names += " <" + std::string(option.valueName) + ">";
            names.resize(std::max<std::size_t>(names.size(), 27), ' ');
            text += "  " + names + " " + option.description + "\n";
        }
    }
    text += "\nAn ansi or text page written to a terminal without --width, --height, --size, --fit or\n"
            "--area is scaled to fit the terminal, a line left for the prompt. Without --color-depth, an\n"
            "ansi page has 24-bit colour where COLORTERM is truecolor or 24bit, or off a terminal, else\n"
            "256 colours. html and text pages have no use for --color-depth.\n";
    text += "\nExamples:\n"
            "  lumirune-convert -j 2 *.jpg                  pages beside the pictures, two at a time\n"
            "  lumirune-convert --format ansi --color-depth 8 -o - cat.jpg\n"
            "                                               a preview that fits the terminal\n"
            "  lumirune-convert --fit --quality 50 - < photo.jpg > photo.htm\n"
            "  lumirune-convert --fit --fill --square photo.jpg\n"
            "                                               a page that looks like the photo in any browser\n";
    return text;
}

} // namespace cli
