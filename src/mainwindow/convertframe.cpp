// SPDX-License-Identifier: MIT
#include "convertframe.h"

#include "widgets/layout.h"
#include "widgets/shape.h"
#include "widgets/systemcolors.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace ui {

ConvertFrame::ConvertFrame(QWidget *window, platform::Platform &platform, platform::Guard &guard,
                           const ConvertInputs &inputs)
    : QGroupBox(window), m_platform(platform), m_guard(guard), m_inputs(inputs)
{
    setUpFrame(this, "convertframe", tr("Convert"), 120, 4680, 6975, 3015);
    hide();

    statustimer = new QTimer(this);
    statustimer->setObjectName("statustimer");
    statustimer->setInterval(1000);

    convertb = placeWithText<QPushButton>(window, "convertb", tr("Convert"), 4800, 4080, 2295, 495);
    QFont bold = convertb->font();
    bold.setFamily("Sans Serif");
    bold.setPointSize(12);
    bold.setBold(true);
    convertb->setFont(bold);
    openpage = placeWithText<QPushButton>(window, "openpage", tr("Open page"), 4920, 3420, 2175, 360);
    openpage->setEnabled(false);

    infolabel7 = placeWithText<QLabel>(this, "infolabel7", tr("Status:"), 360, 360, 1695, 255);
    statusbar1 = place<Shape>(this, "statusbar1", 360, 600, 6200, 375);
    statusbar2 = place<Shape>(this, "statusbar2", 360, 600, 15, 375);
    statusbar2->setFill(kDesktop);
    convertstatus = placeWithText<QLabel>(this, "convertstatus", "0%", 3240, 720, 735, 255);
    convertinfo3 = placeWithText<QLabel>(this, "convertinfo3", tr("%1 sec elasped, %2 sec left.").arg(0).arg(0), 360,
                                         1080, 2535, 255);
    infolabel4 = placeWithText<QLabel>(this, "infolabel4", tr("Working on:") + QString(44, ' ') + tr("Save in file:"),
                                       360, 1440, 4455, 255);
    convertinfo1 = placeWithText<QLabel>(this, "convertinfo1", tr("Pixel number:"), 360, 1680, 975, 255);
    convertpixelnr = placeWithText<QLabel>(this, "convertpixelnr", "0", 1440, 1680, 855, 255);
    convertinfo2 = placeWithText<QLabel>(this, "convertinfo2", tr("Line number:"), 360, 1920, 975, 255);
    convertlinenr = placeWithText<QLabel>(this, "convertlinenr", "0", 1440, 1920, 1095, 255);
    convertfilename = placeWithText<QLineEdit>(this, "convertfilename", QString(), 3240, 1680, 3375, 285);
    convertfilename->setReadOnly(true);
    infolabel6 = placeWithText<QLabel>(
        this, "infolabel6", "Dec:" + QString(40, ' ') + "RGB:" + QString(39, ' ') + "HEX:", 360, 2280, 6255, 255);
    convertvbcolor = placeWithText<QLineEdit>(this, "convertvbcolor", "0", 360, 2520, 1935, 285);
    convertrgbcolor = placeWithText<QLineEdit>(this, "convertrgbcolor", "0", 2520, 2520, 1935, 285);
    converthexcolor = placeWithText<QLineEdit>(this, "converthexcolor", "0", 4680, 2520, 1935, 285);

    connect(convertb, &QPushButton::clicked, this, &ConvertFrame::convertb_Click);
    connect(statustimer, &QTimer::timeout, this, &ConvertFrame::statustimer_Timer);
    connect(openpage, &QPushButton::clicked, this, &ConvertFrame::openpage_Click);
}

ConvertFrame::~ConvertFrame() = default;

void ConvertFrame::setPictureFile(const QString &path)
{
    convertfilename->setText(path);
    m_nameIsPicture = true;
}

void ConvertFrame::allowOpenPage(bool allowed)
{
    openpage->setEnabled(allowed && !m_lastPage.isEmpty());
}

ErrorReport ConvertFrame::stillForReport()
{
    // The program is ending from here on: no tick while the message box is open may count or fail.
    statustimer->stop();
    // A running scan refreshes the displays only between rounds of events; the block shows the
    // conversion as it stood at the failure.
    if (m_conversion && !m_conversion->stopconvert()) showScanProgress();
    ErrorReport r;
    r.renderTime = rendertime;
    r.totalLines = totallines;
    r.linesDone = convertlinenr->text();
    r.rgbText = convertrgbcolor->text();
    r.hexColor = QString::fromStdString(hexcolor);
    return r;
}

void ConvertFrame::openpage_Click()
{
    if (!QFileInfo(m_lastPage).isFile()) {
        m_platform.message(tr("The page %1 is gone.").arg(QDir::toNativeSeparators(m_lastPage)), QString(),
                           platform::Buttons::Ok, false);
        return;
    }
    if (!m_platform.openUrl(QUrl::fromLocalFile(m_lastPage)))
        m_platform.message(tr("No program was found to show the page %1.").arg(QDir::toNativeSeparators(m_lastPage)),
                           QString(), platform::Buttons::Ok, false);
}

} // namespace ui
