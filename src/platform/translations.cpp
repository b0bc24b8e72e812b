// SPDX-License-Identifier: MIT
#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace platform {

bool useTranslations(const QLocale &locale)
{
    // Qt's from where Qt is installed (qt6-translations-l10n on Debian), the program's from the
    // files built into it.
    static QTranslator qt, own;
    QCoreApplication::removeTranslator(&qt);
    QCoreApplication::removeTranslator(&own);
    if (qt.load(locale, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
    if (!own.load(locale, "lumirune", "_", ":/i18n")) return false;
    QCoreApplication::installTranslator(&own);
    return true;
}

} // namespace platform
