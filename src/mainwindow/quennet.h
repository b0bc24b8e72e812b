// SPDX-License-Identifier: MIT
#pragma once

#include "convertinputs.h"
#include "failureguard.h"

#include "platform/platform.h"

#include <QList>
#include <QWidget>

#include <chrono>

namespace ui {

class ColorFrame;
class ConvertFrame;
class PictureFrame;
class TextFrame;

// The main window: the picture frame above, the colour and text frames below, swapped for the
// convert frame while a conversion runs. It composes the frames and wires them; each frame owns
// its controls, which carry their names as object names.
class quennet : public QWidget, private ConvertInputs
{
    Q_OBJECT
public:
    explicit quennet(platform::Platform &platform, QWidget *parent = nullptr);
    ~quennet() override;

    // Shows the picture at path (a full path) exactly as if it had been chosen in the dialog of
    // "Load picture"; the window's command line comes in here.
    void loadPicture(const QString &path);

    // The window is closed: the program ends.
    void Form_Unload();

    // The sixteen option controls, disabled and enabled together in this order.
    QList<QWidget *> optionGroup() const;
    void setOptionsEnabled(bool enabled, bool keepConvertButton = false);

    // Scan work between two rounds of event processing during a conversion.
    void setScanEventInterval(std::chrono::nanoseconds interval);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QString messageText() const override;
    void readSettings(engine::ScanSettings &settings) const override;
    QImage drawingArea() const override;
    // Stills the window and gathers its state when a failure is reported.
    ErrorReport stateAtFailure();
    void showBusy(bool busy);
    void setTabOrder();
    void fitCaptions();
    // The one way the program ends: a running scan stops, then the platform ends the process.
    void endProgram(int exitCode);

    platform::Platform &m_platform;
    FailureGuard m_guard;
    PictureFrame *m_picture;
    ColorFrame *m_color;
    TextFrame *m_text;
    ConvertFrame *m_convert;
};

} // namespace ui
