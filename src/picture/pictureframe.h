// SPDX-License-Identifier: MIT
#pragma once

#include "platform/guard.h"
#include "platform/platform.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>

class QCheckBox;
class QLabel;
class QMimeData;
class QPushButton;
class QShortcut;

namespace ui {

class ClickLabel;
class Overlay;
class PictureBox;
class setrenderareaform;

// The picture and its render area: "Load picture", the picture box with the render area chosen on
// it or typed into its dialog, and a click on the picture that picks its colour. It covers the
// window's top part; its controls are placed in the window's own coordinates.
class PictureFrame : public QWidget
{
    Q_OBJECT
public:
    PictureFrame(QWidget *window, platform::Platform &platform, platform::Guard &guard);

    // Handlers. Each is connected to its control; tests may call them directly.
    void loadpic_Click();
    void setrender_Click();
    void mainpic_MouseDown(int button, int shift, double x, double y);
    void mainpic_MouseMove(int button, int shift, double x, double y);
    void renderareapoint_Click();
    // "Fit picture to box" toggled: the picture shown is read again from its file; a fitted one
    // becomes the render area.
    void fitpicture_Click();
    // Esc: leaves selection mode with the render area as it was.
    void cancelRenderSelection();

    // Shows the picture at path as "Load picture" does; false (after its message) when it is no
    // readable picture, and the picture shown before stays.
    bool loadPicture(const QString &path);
    // The one local file that mime carries, when it may be loaded now as "Load picture" would
    // load it; else empty.
    QString droppablePicture(const QMimeData *mime) const;
    // Puts code into renderareapoint and redraws the outline and the pixel total from it. False
    // when the code is not four fields; the program has then been told to end.
    bool setRenderAreaCode(const QString &code);
    // The render area dialog, created hidden on first use.
    setrenderareaform *renderAreaForm();

    // What a conversion reads: the render area code, its pixel total, and the picture as shown
    // without the outline drawn over it.
    QString renderAreaCode() const;
    QString pixelTotal() const;
    QImage drawingArea() const;

    // Selection state outside the controls.
    QString setrenderstatus;  // "true" while a render area is chosen with the mouse, then "false"
    QString renderstartpoint; // first corner of a mouse selection, "0x0" while none is set

signals:
    // A picture was shown; path is the file it came from.
    void pictureLoaded(const QString &path);
    // A click outside a selection picked this colour, 0x00BBGGRR, as the box shows it.
    void colorPicked(int32_t color);
    // The window's options are to be locked (false) or unlocked (true).
    void optionsEnabledRequested(bool enabled);
    // The window's state cannot be trusted: the program ends with this code.
    void endRequested(int exitCode);

protected:
    // Pictures dropped on the window, and fitpicture following loadpic.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildOverlays();
    void pickColor(double x, double y);
    void takeFirstCorner(double x, double y);
    void takeSecondCorner(double x, double y);
    void hideCrosshair();
    void endSelection();
    bool applyRenderAreaCode();
    void endOnBrokenCode(const QString &text);

    platform::Platform &m_platform;
    platform::Guard &m_guard;
    QPushButton *loadpic;
    QPushButton *setrender;
    QCheckBox *fitpicture;
    PictureBox *mainpic;
    QLabel *totpixels;
    QLabel *info3;
    ClickLabel *renderareapoint;
    QLabel *info2;
    QLabel *info1;
    // Drawn over mainpic.
    Overlay *Line1;
    Overlay *Line2;
    Overlay *renderareabox;
    Overlay *pointline2;
    Overlay *pointline1;
    QString m_picturePath; // the file of the picture shown, read again when fitting is toggled
    QPointer<setrenderareaform> m_renderAreaForm;
    QShortcut *m_cancelSelection = nullptr; // Esc, live only while a selection is under way
};

} // namespace ui
