// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace ui {

// System colour references, 0x80000000 + index, as the palette shows them.
constexpr int32_t kWindowBackground = int32_t(0x80000005);
constexpr int32_t kDesktop = int32_t(0x80000001);

// A colour value 0x00BBGGRR, or a system colour reference resolved through the palette.
QColor resolveColor(int32_t value, const QPalette &palette);

} // namespace ui
