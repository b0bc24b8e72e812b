// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstdint>

class QWidget;

namespace platform {

enum class Buttons { Ok, OkCancel };
enum class Answer { Ok, Cancel };

// The title message boxes show when they have none of their own.
inline const QString kApplicationTitle = QStringLiteral("quennetproject");

// Everything the windows ask of the system. The program runs on QtPlatform; tests substitute a
// fake that scripts answers and records what was asked.
class Platform
{
public:
    virtual ~Platform() = default;

    // A modal message box without icon. An empty title shows the application title; a
    // system-modal box stays above every window until closed. Closing the box answers Cancel
    // where there is a Cancel button, else Ok.
    virtual Answer message(const QString &text, const QString &title, Buttons buttons, bool systemModal) = 0;

    // The open-file dialog: starts in folder with the first of filters active ("*.bmp (*.BMP)").
    // Returns the chosen full path, or an empty text on Cancel.
    virtual QString openFileName(QWidget *parent, const QString &folder, const QStringList &filters) = 0;

    // Reads a picture file; a null image means it is not a readable picture (error says why).
    virtual QImage loadPicture(const QString &path, QString *error) = 0;
    // The same, the whole picture shrunk smoothly to fit the 300 x 300 box, keeping its
    // proportions, as the converter's --fit does; a picture that fits already is read as it is.
    virtual QImage loadFittedPicture(const QString &path, QString *error) = 0;

    // Opens url with the desktop's program for it (a page in the browser); false when none did.
    virtual bool openUrl(const QUrl &url) = 0;

    // The colour shown on screen at point of widget, 0x00BBGGRR, or -1 where nothing can be read.
    virtual int32_t pixelShown(QWidget *widget, QPoint point) = 0;

    // Lets pending window events run (clicks, timer ticks) from inside a long handler.
    virtual void processEvents() = 0;

    // Ends the program at once: no window's closing handler runs, nothing is asked.
    // Fakes return instead; callers stop what they are doing after calling it.
    virtual void quit(int exitCode) = 0;

    // Where the open-file dialog starts before any picture is loaded: the current folder unless
    // it is the root (where a program started from the desktop may run), else the user's
    // Pictures folder, else the home folder.
    virtual QString startFolder() = 0;

    // The current local date and time as the user's locale writes them: short date, a blank,
    // long time.
    virtual QString dateTimeText() = 0;
};

} // namespace platform
