// SPDX-License-Identifier: MIT
#include "fakeplatform.h"

#include "platform/qtplatform.h"

#include <QCoreApplication>

QStringList FakePlatform::messageTexts() const
{
    QStringList texts;
    for (const Message &m : messages)
        texts << m.text;
    return texts;
}

platform::Answer FakePlatform::message(const QString &text, const QString &title, platform::Buttons buttons,
                                       bool systemModal)
{
    messages.append({text, title.isEmpty() ? platform::kApplicationTitle : title, buttons, systemModal});
    if (onMessage) onMessage(messages.constLast());
    return answers.isEmpty() ? platform::Answer::Ok : answers.takeFirst();
}

QString FakePlatform::openFileName(QWidget *, const QString &folder, const QStringList &filters)
{
    ++dialogs;
    dialogFolder = folder;
    dialogFilters = filters;
    return std::exchange(nextFileName, QString());
}

QImage FakePlatform::loadPicture(const QString &path, QString *error)
{
    return platform::QtPlatform().loadPicture(path, error);
}

int32_t FakePlatform::pixelShown(QWidget *widget, QPoint point)
{
    return platform::QtPlatform().pixelShown(widget, point);
}

void FakePlatform::processEvents()
{
    ++processEventsCalls;
    QCoreApplication::processEvents();
    if (onProcessEvents) onProcessEvents(processEventsCalls);
}

void FakePlatform::quit(int code)
{
    quitCalled = true;
    exitCode = code;
}
