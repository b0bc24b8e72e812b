// SPDX-License-Identifier: MIT
#include "renderarea.h"

#include "failure.h"
#include "numbers.h"

namespace engine {

std::vector<std::string_view> splitAtSpaces(std::string_view text)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t space = text.find(' ', start);
        if (space == std::string_view::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, space - start));
        start = space + 1;
    }
}

std::vector<std::string_view> splitAtWhiteSpace(std::string_view text)
{
    const auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
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
    return fields;
}

bool RenderArea::withinBounds() const
{
    return x1 >= 0 && x1 < x2 && x2 <= kDrawingAreaSize && y1 >= 0 && y1 < y2 && y2 <= kDrawingAreaSize;
}

RenderArea readRenderArea(std::string_view code, const AreaSyntax &syntax)
{
    const std::vector<std::string_view> fields = syntax.anyWhiteSpace ? splitAtWhiteSpace(code) : splitAtSpaces(code);
    if (fields.size() < 4 || (syntax.onlyFour && fields.size() > 4))
        throw Failure(ErrorNumber::InvalidCall,
                      "Subscript out of range: render area code \"" + std::string(code) + "\" has " +
                          (fields.size() < 4 ? "fewer" : "more") + " than four fields",
                      "RenderArea");
    RenderArea area;
    area.x1 = toInt16(fields[0], "RenderArea", syntax.numbers);
    area.y1 = toInt16(fields[1], "RenderArea", syntax.numbers);
    area.x2 = toInt16(fields[2], "RenderArea", syntax.numbers);
    area.y2 = toInt16(fields[3], "RenderArea", syntax.numbers);
    return area;
}

} // namespace engine
