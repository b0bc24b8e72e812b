// SPDX-License-Identifier: MIT
#pragma once

#include "platform.h"

class QWidget;

namespace platform {

// The colour shown at point of widget, 0x00BBGGRR, or -1 outside it: what the widget paints there.
int32_t colorShownAt(QWidget *widget, QPoint point);

// The system itself: real message boxes and dialogs; quit ends the process at once.

class QtPlatform : public Platform
{
public:
    Answer message(const QString &text, const QString &title, Buttons buttons, bool systemModal) override;
    QString openFileName(QWidget *parent, const QString &folder, const QStringList &filters) override;
    QImage loadPicture(const QString &path, QString *error) override;
    QImage loadFittedPicture(const QString &path, QString *error) override;
    bool openUrl(const QUrl &url) override;
    int32_t pixelShown(QWidget *widget, QPoint point) override;
    void processEvents() override;
    void quit(int exitCode) override;
    QString startFolder() override;
    QString dateTimeText() override;
};

} // namespace platform
