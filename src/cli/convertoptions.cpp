// SPDX-License-Identifier: MIT
#include "convertoptions.h"

#include "engine/pagecommit.h"

#include "engine/colorcode.h"
#include "engine/document.h"
#include "engine/messagetext.h"
#include "engine/numbers.h"
#include "engine/replacements.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <optional>
#include <random>
#include <string_view>

namespace cli {

namespace {

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
    kSingle,
    kSequential,
    kSeed,
    kMessage,
    kPreset,
    kReplace,
    kHelp,
    kVersion,
    kOptionCount
};

struct Option
{
    std::vector<std::string_view> names; // one letter: -x; longer: --name
    std::string_view valueName;          // empty: a switch
    std::string_view description;
};

// In the order of OptionId.
const std::array<Option, kOptionCount> kOptions{{
    {{"o", "output"}, "FILE", "Write the page to FILE (one picture only); - is standard output."},
    {{"format"}, "html|ansi|text", "Page format: html (default), ansi (24-bit colour for terminals) or text."},
    {{"j", "jobs"}, "N", "Convert N pictures at once (default: one per processor core)."},
    {{"width"}, "W", "Scale the picture to W pixels wide (1 to 2000)."},
    {{"height"}, "H", "Scale the picture to H pixels high (1 to 2000)."},
    {{"size"}, "WxH", "Scale the picture to exactly W x H pixels."},
    {{"fit"}, "", "Shrink a picture larger than the 300 x 300 box to fit it."},
    {{"area"}, "X1 Y1 X2 Y2", "Render area \"X1 Y1 X2 Y2\", X2 and Y2 exclusive."},
    {{"quality"}, "Q", "Colour quality: 100, 90, ..., 10."},
    {{"font-size"}, "N", "HTML font size, 1 to 7."},
    {{"background"}, "black|white", "Page background: black or white."},
    {{"no-pre"}, "", "Do not wrap the page in <pre>."},
    {{"single"}, "", "One character per pixel (default two)."},
    {{"sequential"}, "", "Take message characters in order (default at random)."},
    {{"seed"}, "N", "Seed for the random characters."},
    {{"message"}, "TEXT", "Message characters (default \"01\")."},
    {{"preset"}, "NAME", "Message preset: Dec, Chr, \"Chr & Dec\", Hex, Oct or Bin."},
    {{"replace"}, "A > B", "Write colour A as colour B (0x00BBGGRR decimals); repeatable, in order."},
    {{"h", "help"}, "", "Show this help."},
    {{"V", "version"}, "", "Show the version."},
}};

struct OptionGroup
{
    const char *title;
    std::vector<OptionId> options;
};

const std::vector<OptionGroup> &optionGroups()
{
    static const std::vector<OptionGroup> groups{
        {"Input and output", {kOutput, kFormat, kJobs, kHelp, kVersion}},
        {"Size", {kWidth, kHeight, kSize, kFit, kArea}},
        {"Characters", {kMessage, kPreset, kSingle, kSequential, kSeed}},
        {"Colours", {kQuality, kReplace}},
        {"Page", {kBackground, kFontSize, kNoPre}},
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

// Bytes of the character starting text[at]: a UTF-8 sequence, or one byte that starts none.
std::size_t characterLength(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    for (std::size_t i = 1; i < length; ++i)
        if (at + i >= text.size() || (static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 1;
    return length;
}

ParsedLine parseLine(const std::vector<std::string> &arguments)
{
    ParsedLine line;
    std::vector<std::string> unknown;
    bool failed = false;
    bool onlyPictures = false;
    std::size_t i = 1;
    const auto found = [&](const std::string &name) {
        if (const auto id = findOption(name)) {
            line.set[*id] = true;
            return true;
        }
        unknown.push_back(name);
        return false;
    };
    // The value of the option name, which argument gave: after its "=", else the next argument.
    const auto takeValue = [&](const std::string &name, const std::string &argument) {
        const auto id = findOption(name);
        if (!id) return true;
        const std::size_t assign = argument.find('=');
        if (!kOptions[*id].valueName.empty()) {
            if (assign != std::string::npos) {
                line.values[*id].push_back(argument.substr(assign + 1));
            } else if (++i == arguments.size()) {
                line.error = "Missing value after '" + argument + "'.";
                return false;
            } else {
                line.values[*id].push_back(arguments[i]);
            }
        } else if (assign != std::string::npos) {
            line.error = "Unexpected value after '" + argument.substr(0, assign) + "'.";
            return false;
        }
        return true;
    };
    for (; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (onlyPictures || argument.empty() || argument[0] != '-' || argument == "-") {
            line.positional.push_back(argument);
        } else if (argument.compare(0, 2, "--") == 0) {
            if (argument.size() == 2) {
                onlyPictures = true;
                continue;
            }
            const std::string name = argument.substr(2, argument.find('=', 2) - 2);
            if (!found(name) || !takeValue(name, argument)) failed = true;
        } else {
            std::string name;
            bool valueFound = false;
            for (std::size_t at = 1; at < argument.size(); at += name.size()) {
                name = argument.substr(at, characterLength(argument, at));
                if (!found(name)) {
                    failed = true;
                    continue;
                }
                const std::size_t next = at + name.size();
                if (!kOptions[*findOption(name)].valueName.empty()) {
                    if (next < argument.size()) {
                        const std::size_t from = argument[next] == '=' ? next + 1 : next;
                        line.values[*findOption(name)].push_back(argument.substr(from));
                        valueFound = true;
                    }
                    break;
                }
                if (next < argument.size() && argument[next] == '=') break;
            }
            if (!valueFound && !takeValue(name, argument)) failed = true;
        }
        if (i == arguments.size()) break;
    }
    if (!failed) return line;
    if (line.error.empty()) {
        line.error = unknown.size() == 1 ? "Unknown option '" + unknown.front() + "'." : "Unknown options: ";
        for (std::size_t n = 0; unknown.size() > 1 && n < unknown.size(); ++n)
            line.error += unknown[n] + (n + 1 < unknown.size() ? ", " : ".");
    }
    return line;
}

bool isSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Decimal digits, perhaps signed, as a number within [least, most].
bool readNumber(std::string_view text, long long least, long long most, long long &value, bool sign = true)
{
    bool negative = false;
    if (sign && !text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return false;
    value = 0;
    for (const char c : text) {
        if (!isDigit(c)) return false;
        value = std::min(value * 10 + (c - '0'), 1LL << 40); // far past every range asked for
    }
    if (negative) value = -value;
    return value >= least && value <= most;
}

// Four 16-bit whole numbers, separated by white space; where they may lie is the caller's check.
bool readArea(std::string_view text, engine::RenderArea &area)
{
    std::vector<std::string_view> fields;
    for (std::size_t at = 0; at < text.size();) {
        if (isSpace(text[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && !isSpace(text[end]))
            ++end;
        fields.push_back(text.substr(at, end - at));
        at = end;
    }
    if (fields.size() != 4) return false;
    int16_t values[4];
    for (int i = 0; i < 4; ++i) {
        long long value = 0;
        if (!readNumber(fields[std::size_t(i)], INT16_MIN, INT16_MAX, value)) return false;
        values[i] = static_cast<int16_t>(value);
    }
    area = {values[0], values[1], values[2], values[3]};
    return true;
}

// "A > B" with colours in decimal; spacing around ">" is forgiven, the entry is written exactly.
bool readReplacement(std::string_view text, std::string &entry)
{
    std::size_t at = 0;
    const auto skipSpace = [&] {
        while (at < text.size() && isSpace(text[at]))
            ++at;
    };
    const auto readColor = [&](long long &color) {
        const std::size_t start = at;
        while (at < text.size() && isDigit(text[at]))
            ++at;
        return readNumber(text.substr(start, at - start), 0, 0xFFFFFF, color, false);
    };
    long long from = 0;
    long long to = 0;
    skipSpace();
    if (!readColor(from)) return false;
    skipSpace();
    if (at == text.size() || text[at++] != '>') return false;
    skipSpace();
    if (!readColor(to)) return false;
    skipSpace();
    if (at != text.size()) return false;
    entry = engine::replacementEntry(int32_t(from), int32_t(to));
    return true;
}

std::string invalid(OptionId option, const std::string &value, const std::string &expected)
{
    return "invalid --" + std::string(kOptions[option].names.back()) + " \"" + value + "\": " + expected;
}

// A whole number in decimal digits from 1 to most.
bool readCount(std::string_view text, int most, int &value)
{
    long long number = 0;
    if (text.size() > 9 || !readNumber(text, 1, most, number, false)) return false;
    value = int(number);
    return true;
}

// Text in UTF-8 as characters; a byte that starts no character stands for U+FFFD.
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

// Size, area, format and jobs.
bool readBatchOptions(const ParsedLine &p, ConvertJob &job)
{
    const std::string side = "a whole number from 1 to " + std::to_string(engine::kMaxScaledSide);
    engine::SizeRequest &size = job.size;
    if (p.isSet(kWidth) && !readCount(p.value(kWidth), engine::kMaxScaledSide, size.width)) {
        job.error = invalid(kWidth, p.value(kWidth), side);
        return false;
    }
    if (p.isSet(kHeight) && !readCount(p.value(kHeight), engine::kMaxScaledSide, size.height)) {
        job.error = invalid(kHeight, p.value(kHeight), side);
        return false;
    }
    if (p.isSet(kSize)) {
        const std::string &text = p.value(kSize);
        const std::size_t x = text.find_first_of("xX");
        if (x == std::string::npos || text.find_first_of("xX", x + 1) != std::string::npos ||
            !readCount(std::string_view(text).substr(0, x), engine::kMaxScaledSide, size.width) ||
            !readCount(std::string_view(text).substr(x + 1), engine::kMaxScaledSide, size.height)) {
            job.error = invalid(kSize, text, "WxH, each " + side);
            return false;
        }
    }
    size.fit = p.isSet(kFit);
    if (int(p.isSet(kSize)) + int(p.isSet(kWidth) || p.isSet(kHeight)) + int(size.fit) > 1) {
        job.error = "--size, --width/--height and --fit each set the size; give one";
        return false;
    }
    // Scaled, the area lies on the scaled picture: checked here when its size is known already,
    // else for each picture.
    job.areaGiven = p.isSet(kArea);
    engine::RenderArea &area = job.settings.area;
    const bool exact = size.width > 0 && size.height > 0;
    const engine::PixelSize bounds = exact ? engine::PixelSize{size.width, size.height}
                                     : size.any()
                                         ? engine::PixelSize{engine::kMaxScaledSide, engine::kMaxScaledSide}
                                         : engine::PixelSize{engine::kDrawingAreaSize, engine::kDrawingAreaSize};
    if (job.areaGiven && (!readArea(p.value(kArea), area) || !engine::areaWithin(area, bounds))) {
        job.error = invalid(kArea, p.value(kArea),
                            "four whole numbers with 0 <= X1 < X2 <= " + std::to_string(bounds.width) +
                                " and 0 <= Y1 < Y2 <= " + std::to_string(bounds.height));
        return false;
    }
    if (exact && !job.areaGiven) area = {0, 0, int16_t(size.width), int16_t(size.height)};
    job.settings.pixelCount = area.pixelCount();
    if (p.isSet(kFormat)) {
        static const std::array<std::string_view, 3> formats{"html", "ansi", "text"};
        const auto format = std::find(formats.begin(), formats.end(), p.value(kFormat));
        if (format == formats.end()) {
            job.error = invalid(kFormat, p.value(kFormat), "html, ansi or text");
            return false;
        }
        job.settings.page.format = engine::PageFormat(format - formats.begin());
    }
    if (p.isSet(kJobs) && !readCount(p.value(kJobs), kMostJobs, job.jobs)) {
        job.error = invalid(kJobs, p.value(kJobs), "a whole number from 1 to " + std::to_string(kMostJobs));
        return false;
    }
    return true;
}

// Message, preset and replacements.
bool readCharacterOptions(const ParsedLine &p, ConvertJob &job)
{
    engine::ScanSettings &s = job.settings;
    if (p.isSet(kMessage) && p.isSet(kPreset)) {
        job.error = "--message and --preset both set the message; give one";
        return false;
    }
    if (p.isSet(kPreset)) {
        const auto text = engine::presetMessage(p.value(kPreset));
        if (!text || text->empty()) {
            job.error = invalid(kPreset, p.value(kPreset), "one of Dec, Chr, \"Chr & Dec\", Hex, Oct, Bin");
            return false;
        }
        s.message = std::string(*text);
    }
    if (p.isSet(kMessage)) {
        const std::u32string message = decodeUtf8(p.value(kMessage));
        if (message.empty()) {
            job.error = invalid(kMessage, "", "the message is empty");
            return false;
        }
        if (const auto bad = engine::firstDisallowedChar(message)) {
            job.error = invalid(kMessage, p.value(kMessage),
                                "'" + encodeUtf8(message.substr(*bad, 1)) +
                                    "' is not allowed; allowed: " + encodeUtf8(engine::kAllowedMessageChars));
            return false;
        }
        s.message = engine::toAnsi(message);
    }
    for (const std::string &value : p.values[kReplace]) {
        std::string entry;
        if (!readReplacement(value, entry)) {
            job.error = invalid(kReplace, value, "\"A > B\" with A and B colours from 0 to 16777215");
            return false;
        }
        s.replacements.push_back(entry);
    }
    return true;
}

} // namespace

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
            text += "  " + names + " " + std::string(option.description) + "\n";
        }
    }
    text += "\nExamples:\n"
            "  lumirune-convert -j 2 *.jpg                  pages beside the pictures, two at a time\n"
            "  lumirune-convert --width 80 --single --format ansi -o - cat.jpg\n"
            "                                               a preview in the terminal\n"
            "  lumirune-convert --fit --quality 50 - < photo.jpg > photo.htm\n";
    return text;
}

ConvertJob parseArguments(const std::vector<std::string> &arguments)
{
    ConvertJob job;
    const ParsedLine p = parseLine(arguments);
    if (!p.error.empty()) {
        job.error = p.error;
        return job;
    }
    if (p.isSet(kHelp)) {
        job.helpRequested = true;
        return job;
    }
    if (p.isSet(kVersion)) {
        job.versionRequested = true;
        return job;
    }
    engine::ScanSettings &s = job.settings;
    job.pictures = p.positional;
    // The standard streams by their names in /dev are the streams themselves.
    for (std::string &picture : job.pictures)
        if (engine::standardStreamNamed(picture) == 0) picture = "-";
    if (job.pictures.empty()) {
        job.error = "no picture given";
        return job;
    }
    if (std::count(job.pictures.begin(), job.pictures.end(), "-") > 1) {
        job.error = "standard input (-) can be read only once";
        return job;
    }
    if (p.isSet(kOutput)) {
        job.output = p.value(kOutput);
        if (engine::standardStreamNamed(job.output) == 1) job.output = "-";
        if (job.output.empty()) {
            job.error = invalid(kOutput, "", "the file name is empty");
            return job;
        }
        if (job.pictures.size() > 1) {
            job.error = "-o names one page, but more than one picture was given";
            return job;
        }
    }
    if (!readBatchOptions(p, job)) return job;
    if (p.isSet(kQuality)) {
        const std::string &quality = p.value(kQuality);
        if (std::find(engine::kQualities.begin(), engine::kQualities.end(), quality) == engine::kQualities.end()) {
            std::string qualities;
            for (const std::string_view q : engine::kQualities)
                qualities += (qualities.empty() ? "" : ", ") + std::string(q);
            job.error = invalid(kQuality, quality, "one of " + qualities);
            return job;
        }
        s.quality = std::stoi(quality);
    }
    if (p.isSet(kFontSize)) {
        const std::string &size = p.value(kFontSize);
        if (std::find(engine::kFontSizes.begin(), engine::kFontSizes.end(), size) == engine::kFontSizes.end()) {
            job.error = invalid(kFontSize, size, "a whole number from 1 to 7");
            return job;
        }
        s.page.fontSize = size;
    }
    if (p.isSet(kBackground)) {
        std::string background = p.value(kBackground);
        std::transform(background.begin(), background.end(), background.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
        if (background != "black" && background != "white") {
            job.error = invalid(kBackground, p.value(kBackground), "black or white");
            return job;
        }
        s.page.blackBackground = background == "black";
    }
    s.page.insertPre = !p.isSet(kNoPre);
    s.twoCharsPerPixel = !p.isSet(kSingle);
    s.randomOrder = !p.isSet(kSequential);
    if (p.isSet(kSeed)) {
        long long seed = 0;
        if (!readNumber(p.value(kSeed), 0, UINT32_MAX, seed, false)) {
            job.error = invalid(kSeed, p.value(kSeed), "a whole number from 0 to 4294967295");
            return job;
        }
        s.seed = uint32_t(seed);
    } else {
        s.seed = std::random_device()();
    }
    if (!readCharacterOptions(p, job)) return job;
    // A batch has no window to keep alive, so events are never processed.
    s.eventInterval = engine::kNoEvents;
    return job;
}

} // namespace cli
