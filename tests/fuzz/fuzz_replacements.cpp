// SPDX-License-Identifier: MIT
// Ignore-list entries, one per line, applied to the colours they name and a few others: the
// outcome must be what plain text matching of each entry in list order gives.
#include "fuzzinput.h"

#include "engine/renderarea.h"
#include "engine/replacements.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::vector<std::string> entries = splitInput(data, size);
    const engine::ReplacementList list(entries);
    std::vector<int32_t> colors{0, 255, -1, 16777215, INT32_MIN, INT32_MAX};
    for (const std::string &entry : entries)
        colors.push_back(int32_t(std::strtol(entry.c_str(), nullptr, 10)));
    for (const int32_t color : colors) {
        std::string expected = std::to_string(color);
        for (const std::string &entry : entries) {
            const std::vector<std::string_view> fields = engine::splitAtSpaces(entry);
            if (fields.size() == 3 && fields[0] == expected) expected = fields[2];
        }
        if (list.apply(color).toText() != expected) __builtin_trap();
    }
    return 0;
}
