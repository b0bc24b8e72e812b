// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>

namespace platform {

// Installs Qt's own translations (its dialogs and buttons) and the program's for locale, in place
// of any installed before. English, the language the texts are written in, needs none: false when
// the program has no translation for locale.
bool useTranslations(const QLocale &locale);

} // namespace platform
