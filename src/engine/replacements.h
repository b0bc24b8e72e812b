// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// An ignore-list entry "A > B" read as the list reads it: exactly three space-separated fields,
// the colour replaced first and its replacement last; the middle field is not looked at.
struct ReplacementFields
{
    std::string_view from;
    std::string_view to;
};
std::optional<ReplacementFields> splitReplacement(std::string_view entry);

// The entry the window and the converter write for colour from written as colour to.
std::string replacementEntry(int32_t from, int32_t to);

// A pixel's colour as the scan carries it: normally a number; after a replacement whose text is
// not how a number is written (" 255", "007", "red"), the text itself.
struct PixelColor
{
    bool isNumber = true;
    int32_t number = 0;
    std::string_view text; // valid while the replacement list lives

    std::string toText() const { return isNumber ? std::to_string(number) : std::string(text); }
};

// The ignore list's colour replacements, "A > B" entries applied in list order. Only entries of
// exactly three space-separated fields count. Matching compares text: a pixel matches when its
// colour written in decimal equals field one character for character; its colour text then
// becomes field three, and later entries see the replaced text, so entries chain.
class ReplacementList
{
public:
    ReplacementList() = default;
    explicit ReplacementList(const std::vector<std::string> &entries);
    // Entries view the owned texts, so copies would dangle; moves keep the texts in place.
    ReplacementList(const ReplacementList &) = delete;
    ReplacementList &operator=(const ReplacementList &) = delete;
    ReplacementList(ReplacementList &&) = default;
    ReplacementList &operator=(ReplacementList &&) = default;

    bool empty() const { return m_entries.empty(); }
    PixelColor apply(int32_t color) const;

private:
    struct Entry
    {
        PixelColor from;
        PixelColor to;
    };
    static PixelColor read(std::string_view field);

    std::vector<std::string> m_texts; // owns the text the entries view
    std::vector<Entry> m_entries;
};

} // namespace engine
