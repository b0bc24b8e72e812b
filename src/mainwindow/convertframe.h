// SPDX-License-Identifier: MIT
#pragma once

#include "convertinputs.h"
#include "errorreport.h"

#include "engine/scan.h"
#include "platform/guard.h"
#include "platform/platform.h"

#include <QGroupBox>

#include <chrono>
#include <memory>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace ui {

class Shape;

// The Convert button and the "Convert" frame shown while a conversion runs: the checks, the
// scan with its progress and status timer, and STOP.
class ConvertFrame : public QGroupBox, private engine::ScanHost
{
    Q_OBJECT
public:
    // The button goes on window; the options come from inputs, and failures go to guard.
    ConvertFrame(QWidget *window, platform::Platform &platform, platform::Guard &guard, const ConvertInputs &inputs);
    ~ConvertFrame() override;

    // Handlers. Each is connected to its control; tests may call them directly.
    void convertb_Click();
    // One tick counts a second of the conversion and shows the estimate.
    void statustimer_Timer();
    // Shows the last page written in the desktop's browser.
    void openpage_Click();
    // "Open page" may be pressed (once a page has been written) while the window is idle.
    void allowOpenPage(bool allowed);

    // The page of a conversion is written beside this picture.
    void setPictureFile(const QString &path);
    // Scan work between two rounds of event processing during a conversion.
    void setScanEventInterval(std::chrono::nanoseconds interval) { m_eventInterval = interval; }

    // A failure is being reported: the timer stops and the displays show where the conversion
    // stood. Returns the conversion's part of the report.
    ErrorReport stillForReport();
    // The program ends: a running scan stops where it is, its page kept as written so far.
    void haltConversion();

    // Conversion state outside the controls.
    int16_t totallines = 0; // rows of the render area of the current or last conversion
    int16_t rendertime = 0; // seconds counted by the status timer
    std::string hexcolor;   // colour text of the last encoded pixel

signals:
    // The frames are swapped while a conversion runs (true) and back after (false).
    void busyChanged(bool busy);

private:
    void startConvert();
    bool convertInputsPass();
    void abortConvert();
    void Loopconvert();
    engine::ScanSettings scanSettingsFromControls() const;
    void enterBusyState();
    void returnToIdle();
    void showScanProgress();
    void processEvents() override;

    platform::Platform &m_platform;
    platform::Guard &m_guard;
    const ConvertInputs &m_inputs;
    std::shared_ptr<engine::Conversion> m_conversion; // the current or last conversion
    std::chrono::nanoseconds m_eventInterval = std::chrono::milliseconds(10);

    QTimer *statustimer;
    QPushButton *convertb;        // on the window, beside the frame
    QPushButton *openpage;        // on the window too: the frame is hidden once a page is written
    QString m_lastPage;           // full path of the last page this run began writing
    bool m_nameIsPicture = false; // convertfilename names the picture, whose name no page may take
    QLineEdit *convertfilename;
    QLineEdit *converthexcolor;
    QLineEdit *convertrgbcolor;
    QLineEdit *convertvbcolor;
    QLabel *convertlinenr;
    QLabel *convertpixelnr;
    QLabel *infolabel6;
    QLabel *infolabel4;
    QLabel *convertinfo3;
    QLabel *convertinfo2;
    QLabel *convertinfo1;
    QLabel *convertstatus;
    Shape *statusbar2;
    Shape *statusbar1;
    QLabel *infolabel7;
};

} // namespace ui
