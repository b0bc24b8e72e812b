// SPDX-License-Identifier: MIT
#include "replacements.h"

#include "numbers.h"
#include "renderarea.h"

namespace engine {

namespace {

bool sameText(const PixelColor &a, const PixelColor &b)
{
    // Canonical decimal text and numbers are one-to-one, so numbers compare as numbers.
    if (a.isNumber != b.isNumber) return false;
    return a.isNumber ? a.number == b.number : a.text == b.text;
}

} // namespace

std::optional<ReplacementFields> splitReplacement(std::string_view entry)
{
    const std::vector<std::string_view> fields = splitAtSpaces(entry);
    if (fields.size() != 3) return std::nullopt;
    return ReplacementFields{fields[0], fields[2]};
}

std::string replacementEntry(int32_t from, int32_t to)
{
    return std::to_string(from) + " > " + std::to_string(to);
}

PixelColor ReplacementList::read(std::string_view field)
{
    PixelColor color;
    color.isNumber = readCanonicalInt32(field, color.number);
    if (!color.isNumber) color.text = field;
    return color;
}

ReplacementList::ReplacementList(const std::vector<std::string> &entries) : m_texts(entries)
{
    for (const std::string &text : m_texts) {
        if (const std::optional<ReplacementFields> fields = splitReplacement(text))
            m_entries.push_back({read(fields->from), read(fields->to)});
    }
}

PixelColor ReplacementList::apply(int32_t color) const
{
    PixelColor current;
    current.number = color;
    for (const Entry &entry : m_entries) {
        if (sameText(current, entry.from)) current = entry.to;
    }
    return current;
}

} // namespace engine
