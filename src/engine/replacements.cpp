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
        const std::vector<std::string_view> fields = splitAtSpaces(text);
        if (fields.size() == 3) m_entries.push_back({read(fields[0]), read(fields[2])});
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
