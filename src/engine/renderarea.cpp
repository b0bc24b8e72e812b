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

bool RenderArea::withinBounds() const
{
    return x1 >= 0 && x1 < x2 && x2 <= kDrawingAreaSize && y1 >= 0 && y1 < y2 && y2 <= kDrawingAreaSize;
}

RenderArea splitrenderareacode(std::string_view code)
{
    const std::vector<std::string_view> fields = splitAtSpaces(code);
    if (fields.size() < 4)
        throw Failure(ErrorNumber::InvalidCall,
                      "Subscript out of range: render area code \"" + std::string(code) +
                          "\" has fewer than four fields",
                      "RenderArea");
    RenderArea area;
    area.x1 = toInt16(fields[0], "RenderArea");
    area.y1 = toInt16(fields[1], "RenderArea");
    area.x2 = toInt16(fields[2], "RenderArea");
    area.y2 = toInt16(fields[3], "RenderArea");
    return area;
}

} // namespace engine
