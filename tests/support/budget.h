// SPDX-License-Identifier: MIT
// A time budget against hangs: ten times what the work is expected to take, and ten times that
// again where every memory access is checked.
#pragma once

#include <QElapsedTimer>

#ifdef LUMIRUNE_SANITIZED
inline constexpr qint64 kHangBudgetMs = 10000;
#else
inline constexpr qint64 kHangBudgetMs = 1000;
#endif
