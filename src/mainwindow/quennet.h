// SPDX-License-Identifier: MIT
#pragma once

#include "engine/failure.h"
#include "engine/scan.h"
#include "platform/platform.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QShortcut;
class QTimer;

namespace ui {

class choosecolor;
class ClickLabel;
class ColorSwatch;
class Overlay;
class PictureBox;
class Shape;
class setrenderareaform;

// The main window. It owns every option, and most state lives in its controls, which carry the
// names below as object names. Handlers are named after their control and event.
class quennet : public QWidget, private engine::ScanHost
{
    Q_OBJECT
public:
    explicit quennet(platform::Platform &platform, QWidget *parent = nullptr);
    ~quennet() override;

    // Handlers. Each is connected to its control; tests may call them directly.
    void convertb_Click();
    void loadpic_Click();
    // Shows the picture at path (a full path) exactly as if it had been chosen in the dialog of
    // "Load picture"; the window's command line comes in here.
    void loadPicture(const QString &path);
    void Form_Unload();
    // One tick counts a second of the conversion and shows the estimate.
    void statustimer_Timer();

    // Render area: chosen on the picture or typed into its dialog.
    void setrender_Click();
    void mainpic_MouseDown(int button, int shift, double x, double y);
    void mainpic_MouseMove(int button, int shift, double x, double y);
    void renderareapoint_Click();
    // Esc: leaves selection mode with the render area as it was.
    void cancelRenderSelection();
    // Redraws the outline and the pixel total from the code in renderareapoint. False when the
    // code is not four fields; the program has then been ended.
    bool applyRenderAreaCode();
    // The render area dialog, created hidden on first use.
    setrenderareaform *renderAreaForm();

    // Colour and text options.
    void colorquality_Change();
    void fontsizeC_Change();
    void quickmessage_Click();
    void quickmessage_Change();
    void addignorelist_Click();
    void removeignorelist_Click();
    void ignorelist_Click();

    // The sixteen option controls, disabled and enabled together in this order.
    QList<QWidget *> optionGroup() const;
    void setOptionsEnabled(bool enabled, bool keepConvertButton = false);

    // Scan work between two rounds of event processing during a conversion.
    void setScanEventInterval(std::chrono::nanoseconds interval) { m_eventInterval = interval; }

    // Window state outside the controls.
    QString setrenderstatus;  // "true" while a render area is chosen with the mouse, then "false"
    QString renderstartpoint; // first corner of a mouse selection, "0x0" while none is set
    int16_t totallines = 0;   // rows of the render area of the current or last conversion
    int16_t rendertime = 0;   // seconds counted by the status timer
    std::string hexcolor;     // colour text of the last encoded pixel

    // Controls placed on the window.
    QTimer *statustimer;
    QPushButton *convertb;
    QPushButton *loadpic;
    QPushButton *setrender;
    QGroupBox *colorframe;
    QGroupBox *textframe;
    PictureBox *mainpic;
    QGroupBox *convertframe;
    QLabel *totpixels;
    QLabel *info3;
    ClickLabel *renderareapoint;
    QLabel *info2;
    QLabel *info1;
    // In colorframe.
    QComboBox *colorquality;
    QPushButton *addignorelist;
    ColorSwatch *showignorecolor;
    QListWidget *ignorelist;
    QPushButton *removeignorelist;
    QRadioButton *whitebackground;
    QRadioButton *blackbackground;
    QLabel *infolabel1;
    QLabel *infolabel5;
    // In textframe.
    QComboBox *fontsizeC;
    QComboBox *quickmessage;
    QCheckBox *doublechrperpix;
    QCheckBox *Insertpre;
    QLineEdit *msgtext;
    QCheckBox *randommessage;
    QLabel *infolabel3;
    QLabel *infolabel2;
    // Drawn over mainpic.
    Overlay *Line1;
    Overlay *Line2;
    Overlay *renderareabox;
    Overlay *pointline2;
    Overlay *pointline1;
    // In convertframe.
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

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    void buildColorFrame();
    void buildTextFrame();
    void buildConvertFrame();
    void buildPictureOverlays();
    void connectHandlers();
    void connectRenderAreaHandlers();
    void connectOptionHandlers();
    void connectStatusHandlers();
    void setTabOrder();

    // Convert command.
    void startConvert();
    bool convertInputsPass();
    void abortConvert();
    void Loopconvert();
    engine::ScanSettings scanSettingsFromControls() const;
    void enterBusyState();
    void returnToIdle();
    void showScanProgress();
    void processEvents() override;

    // Render area.
    void pickColor(double x, double y);
    void takeFirstCorner(double x, double y);
    void takeSecondCorner(double x, double y);
    void endOnBrokenCode(const QString &text);

    // Runs a guarded handler body: a failure is reported and ends the program.
    void runGuarded(engine::Operation operation, const std::function<void()> &body);
    void reportFailure(const engine::Failure &failure);
    void endProgram(int exitCode);

    // Thrown through a running scan once the program has been told to end.
    struct ProgramEnded
    {
    };

    platform::Platform &m_platform;
    std::shared_ptr<engine::Conversion> m_conversion; // the current or last conversion
    std::chrono::nanoseconds m_eventInterval = std::chrono::milliseconds(10);
    bool m_ended = false; // the program was told to end; unwind whatever runs
    QPointer<setrenderareaform> m_renderAreaForm;
    QShortcut *m_cancelSelection = nullptr; // Esc, live only while a selection is under way
    choosecolor *m_choosecolor = nullptr;   // created by the first "Add"
};

} // namespace ui
