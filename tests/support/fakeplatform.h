// SPDX-License-Identifier: MIT
// A platform that scripts message-box answers and dialog picks and records what was asked.
#pragma once

#include "platform/platform.h"

#include <QList>

#include <functional>

class FakePlatform : public platform::Platform
{
public:
    struct Message
    {
        QString text;
        QString title; // as shown: an empty title becomes the application title
        platform::Buttons buttons;
        bool systemModal;
    };

    // Answers for the next message boxes, in order; Ok once they run out.
    QList<platform::Answer> answers;
    QList<Message> messages;
    // Runs while a message box is "open", after it has been recorded.
    std::function<void(const Message &)> onMessage;

    // The file dialog returns this and then forgets it (empty: Cancel).
    QString nextFileName;
    QString dialogFolder;
    QStringList dialogFilters;
    int dialogs = 0;

    // Runs every time the program lets events through, with the count so far.
    std::function<void(int call)> onProcessEvents;
    int processEventsCalls = 0;

    bool quitCalled = false;
    int exitCode = -1;
    QString folder = QStringLiteral("/opt/lumirune");
    // What the clock reads, already in the locale's words.
    QString dateTime = QStringLiteral("14.03.2024 09:26:53");

    QStringList messageTexts() const;

    platform::Answer message(const QString &text, const QString &title, platform::Buttons buttons,
                             bool systemModal) override;
    QString openFileName(QWidget *parent, const QString &folder, const QStringList &filters) override;
    QImage loadPicture(const QString &path, QString *error) override;
    int32_t pixelShown(QWidget *widget, QPoint point) override;
    void processEvents() override;
    void quit(int exitCode) override;
    QString programFolder() override { return folder; }
    QString dateTimeText() override { return dateTime; }
};
