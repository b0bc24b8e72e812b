// SPDX-License-Identifier: MIT
#pragma once

#include "platform.h"

namespace platform {

class QtPlatform : public Platform
{
public:
    Answer message(const QString &text, const QString &title, Buttons buttons, bool systemModal) override;
    QString openFileName(QWidget *parent, const QString &folder, const QStringList &filters) override;
    QImage loadPicture(const QString &path, QString *error) override;
    int32_t pixelShown(QWidget *widget, QPoint point) override;
    void processEvents() override;
    void quit(int exitCode) override;
    QString programFolder() override;
    QString dateTimeText() override;
};

} // namespace platform
