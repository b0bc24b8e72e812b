// SPDX-License-Identifier: MIT
// The platform with message boxes, the file dialog, event processing and quitting scripted and
// recorded; pictures are read and shown as the program does; the file dialog starts in the
// program's folder.
#pragma once

#include "picturesource/picturefile.h"
#include "platform/platform.h"
#include "platform/qtplatform.h"

#include <QCoreApplication>
#include <QWidget>

#include <functional>

class FakePlatform : public platform::Platform
{
public:
    // Answers for the next message boxes, in order; Ok once they run out.
    QList<platform::Answer> answers;
    // Each message box shown: its text, then its title (an empty one shown as the application's),
    // and a Cancel button or system-modal where they apply: "text [title, Cancel, system-modal]".
    QStringList said;

    // The file dialog returns this and then forgets it (empty: Cancel).
    QString nextFileName;
    // The last dialog's initial folder, then its filter list.
    QStringList dialog;

    // Runs every time the program lets events through, with the count so far.
    std::function<void(int call)> onProcessEvents;
    int processEventsCalls = 0;

    // Every address the program opened, and whether a program was found for the next ones.
    QList<QUrl> opened;
    bool openSucceeds = true;

    int exitCode = -1; // until the program ends
    // What the clock reads, already in the locale's words.
    QString dateTime = QStringLiteral("14.03.2024 09:26:53");

    platform::Answer message(const QString &text, const QString &title, platform::Buttons buttons,
                             bool systemModal) override
    {
        said << text + " [" + (title.isEmpty() ? platform::kApplicationTitle : title) +
                    (buttons == platform::Buttons::OkCancel ? ", Cancel" : "") +
                    (systemModal ? ", system-modal]" : "]");
        return answers.isEmpty() ? platform::Answer::Ok : answers.takeFirst();
    }

    QString openFileName(QWidget *, const QString &folder, const QStringList &filters) override
    {
        dialog = QStringList{folder} + filters;
        return std::exchange(nextFileName, QString());
    }

    void processEvents() override
    {
        ++processEventsCalls;
        QCoreApplication::processEvents();
        if (onProcessEvents) onProcessEvents(processEventsCalls);
    }

    // Records the code; the program stops what it was doing by itself.
    void quit(int code) override { exitCode = code; }

    QString dateTimeText() override { return dateTime; }

    QImage loadPicture(const QString &path, QString *error) override { return picturesource::readPicture(path, error); }
    QImage loadFittedPicture(const QString &path, QString *error) override
    {
        return picturesource::readFittedPicture(path, error);
    }
    bool openUrl(const QUrl &url) override
    {
        opened << url;
        return openSucceeds;
    }
    int32_t pixelShown(QWidget *widget, QPoint point) override { return platform::colorShownAt(widget, point); }
    QString startFolder() override { return QCoreApplication::applicationDirPath(); }
};

// A control of window by its object name.
template <class T = QWidget> T *control(const QWidget &window, const char *name)
{
    T *found = window.findChild<T *>(QString::fromLatin1(name));
    if (!found) qFatal("no control %s", name);
    return found;
};
