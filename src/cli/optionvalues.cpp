// SPDX-License-Identifier: MIT
#include "optionvalues.h"

#include "utf8text.h"

#include "engine/colorcode.h"
#include "engine/document.h"
#include "engine/failure.h"
#include "engine/messagetext.h"
#include "engine/numbers.h"
#include "engine/replacements.h"

#include <algorithm>
#include <climits>
#include <random>

namespace cli {

namespace {

// A whole number in decimal digits from 1 to most.
bool readCount(std::string_view text, int most, int &value)
{
    const auto number = engine::readWholeNumber(text, 1, most, engine::kDigitsOnly);
    if (text.size() > 9 || !number) return false;
    value = int(*number);
    return true;
}

// "A > B" with colours in decimal; spacing around ">" is forgiven, the entry is written exactly.
bool readReplacement(std::string_view text, std::string &entry)
{
    const std::size_t arrow = text.find('>');
    if (arrow == std::string_view::npos) return false;
    const auto color = [](std::string_view side) {
        const std::vector<std::string_view> fields = engine::splitAtWhiteSpace(side);
        return fields.size() == 1 ? engine::readWholeNumber(fields[0], 0, 0xFFFFFF, engine::kDigitsOnly) : std::nullopt;
    };
    const auto from = color(text.substr(0, arrow));
    const auto to = color(text.substr(arrow + 1));
    if (!from || !to) return false;
    entry = engine::replacementEntry(int32_t(*from), int32_t(*to));
    return true;
}

// Scaled, the area lies on the scaled picture: checked here when its size is known already,
// else for each picture.
bool readArea(const ParsedLine &p, ConvertJob &job)
{
    const engine::SizeRequest &size = job.size;
    job.areaGiven = p.isSet(kArea);
    engine::RenderArea &area = job.settings.area;
    const bool exact = size.width > 0 && size.height > 0;
    const int side = size.any() ? engine::kMaxScaledSide : engine::kDrawingAreaSize;
    const engine::PixelSize bounds = exact ? engine::PixelSize{size.width, size.height} : engine::PixelSize{side, side};
    if (job.areaGiven) {
        bool read = true;
        try {
            area = engine::readRenderArea(p.value(kArea), engine::kAreaOption);
        } catch (const engine::Failure &) {
            read = false;
        }
        if (!read || !engine::areaWithin(area, bounds)) {
            job.error = invalid(kArea, p.value(kArea),
                                "four whole numbers with 0 <= X1 < X2 <= " + std::to_string(bounds.width) +
                                    " and 0 <= Y1 < Y2 <= " + std::to_string(bounds.height));
            return false;
        }
    }
    if (exact && !job.areaGiven) area = {0, 0, int16_t(size.width), int16_t(size.height)};
    job.settings.pixelCount = area.pixelCount();
    return true;
}

// --width, --height, --size and --fit.
bool readSize(const ParsedLine &p, ConvertJob &job)
{
    const std::string side = "a whole number from " + sideRange();
    engine::SizeRequest &size = job.size;
    for (const auto &[id, value] : {std::pair{kWidth, &size.width}, std::pair{kHeight, &size.height}}) {
        if (p.isSet(id) && !readCount(p.value(id), engine::kMaxScaledSide, *value)) {
            job.error = invalid(id, p.value(id), side);
            return false;
        }
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
    return true;
}

} // namespace

std::string invalid(OptionId option, const std::string &value, const std::string &expected)
{
    return "invalid --" + std::string(kOptions[option].names.back()) + " \"" + value + "\": " + expected;
}

bool readSizeOptions(const ParsedLine &p, ConvertJob &job)
{
    if (!readSize(p, job) || !readArea(p, job)) return false;
    if (p.isSet(kFormat)) {
        static const std::array<std::string_view, 3> formats{"html", "ansi", "text"};
        const auto format = std::find(formats.begin(), formats.end(), p.value(kFormat));
        if (format == formats.end()) {
            job.error = invalid(kFormat, p.value(kFormat), "html, ansi or text");
            return false;
        }
        job.settings.page.format = engine::PageFormat(format - formats.begin());
    }
    if (p.isSet(kColorDepth)) {
        const std::string &depth = p.value(kColorDepth);
        if (depth != "24" && depth != "8" && depth != "4") {
            job.error = invalid(kColorDepth, depth, "24, 8 or 4");
            return false;
        }
        job.colorDepth = engine::ColorDepth(std::stoi(depth));
    }
    if (p.isSet(kJobs) && !readCount(p.value(kJobs), kMostJobs, job.jobs)) {
        job.error = invalid(kJobs, p.value(kJobs), "a whole number from 1 to " + std::to_string(kMostJobs));
        return false;
    }
    return true;
}

bool readPageOptions(const ParsedLine &p, ConvertJob &job)
{
    engine::ScanSettings &s = job.settings;
    const auto listed = [&](OptionId id, const auto &list, const std::string &expected) {
        const bool found = std::find(list.begin(), list.end(), p.value(id)) != list.end();
        if (!found) job.error = invalid(id, p.value(id), expected);
        return found;
    };
    if (p.isSet(kQuality)) {
        if (!listed(kQuality, engine::kQualities, "one of " + qualityList(true))) return false;
        s.quality = std::stoi(p.value(kQuality));
    }
    if (p.isSet(kFontSize)) {
        if (!listed(kFontSize, engine::kFontSizes, "a whole number from " + fontSizeRange())) return false;
        s.page.fontSize = p.value(kFontSize);
    }
    if (p.isSet(kBackground)) {
        std::string background = p.value(kBackground);
        std::transform(background.begin(), background.end(), background.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
        if (background != "black" && background != "white") {
            job.error = invalid(kBackground, p.value(kBackground), "black or white");
            return false;
        }
        s.page.blackBackground = background == "black";
    }
    s.page.insertPre = !p.isSet(kNoPre);
    s.page.fillCells = p.isSet(kFill);
    s.page.squarePixels = p.isSet(kSquare);
    s.twoCharsPerPixel = !p.isSet(kSingle);
    s.randomOrder = !p.isSet(kSequential);
    const auto seed = engine::readWholeNumber(p.value(kSeed), 0, UINT32_MAX, engine::kDigitsOnly);
    if (p.isSet(kSeed) && !seed) {
        job.error = invalid(kSeed, p.value(kSeed), "a whole number from 0 to 4294967295");
        return false;
    }
    s.seed = p.isSet(kSeed) ? uint32_t(*seed) : std::random_device()();
    return true;
}

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
            job.error = invalid(kPreset, p.value(kPreset), "one of " + presetNames(", "));
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

} // namespace cli
