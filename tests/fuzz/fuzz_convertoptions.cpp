// SPDX-License-Identifier: MIT
// The converter's command line, arguments separated by NUL bytes: either refused with a message
// or read into settings that are all within the ranges the options promise.
#include "fuzzinput.h"

#include "cli/convertoptions.h"
#include "engine/messagetext.h"
#include "engine/numbers.h"
#include "engine/renderarea.h"
#include "engine/scaling.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    std::vector<std::string> arguments{"lumirune-convert"};
    for (const std::string &argument : splitInput(data, size, '\0'))
        arguments.push_back(argument);
    const cli::ConvertJob job = cli::parseArguments(arguments);
    if (!job.error.empty() || job.helpRequested || job.versionRequested) return 0;
    const engine::ScanSettings &s = job.settings;
    const int quality = int(s.quality);
    std::u32string message; // Windows-1252 bytes back to characters; allowed ones are all Latin-1
    for (const unsigned char c : s.message)
        message += c;
    // Scaled pictures may be up to 2000 pixels a side; the area is checked again on the picture.
    const int side = job.size.any() ? engine::kMaxScaledSide : engine::kDrawingAreaSize;
    if (job.pictures.empty() || (!job.output.empty() && job.pictures.size() > 1) ||
        !engine::areaWithin(s.area, {side, side}) || std::count(job.pictures.begin(), job.pictures.end(), "-") > 1 ||
        job.jobs < 0 || job.jobs > cli::kMostJobs || s.pixelCount != s.area.pixelCount() || quality != s.quality ||
        quality < 10 || quality > 100 || quality % 10 != 0 || s.page.fontSize.size() != 1 || s.page.fontSize[0] < '1' ||
        s.page.fontSize[0] > '7' || message.empty() || engine::firstDisallowedChar(message))
        __builtin_trap();
    // Each replacement is an entry the scan applies: three fields, colours written canonically.
    for (const std::string &entry : s.replacements) {
        const std::vector<std::string_view> fields = engine::splitAtSpaces(entry);
        int32_t from = -1;
        int32_t to = -1;
        if (fields.size() != 3 || fields[1] != ">" || !engine::readCanonicalInt32(fields[0], from) ||
            !engine::readCanonicalInt32(fields[2], to) || std::min(from, to) < 0 || std::max(from, to) > 0xFFFFFF)
            __builtin_trap();
    }
    return 0;
}
