// SPDX-License-Identifier: MIT
#include "widgets/systemcolors.h"

namespace ui {

QColor resolveColor(int32_t value, const QPalette &palette)
{
    if (value >= 0) return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    switch (value) {
    case kWindowBackground:
        return palette.color(QPalette::Base);
    case kDesktop:
        return palette.color(QPalette::Highlight);
    default:
        return palette.color(QPalette::Window);
    }
}

} // namespace ui
