// SPDX-License-Identifier: MIT
// The failure handler shared by the guarded operations: report, tell the user, end.
#include "convertframe.h"
#include "errorreport.h"

#include "picture/pictureframe.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>

namespace ui {

using platform::Buttons;

namespace {

// Given without a folder: the report lies in the current working directory.
const QString kReportFile = QStringLiteral("Errormsg.txt");

} // namespace

ErrorReport ConvertFrame::reportOf(const engine::Failure &failure, const QString &dateTime) const
{
    ErrorReport r;
    r.dateTime = dateTime;
    r.operation = failure.operation();
    r.description = QString::fromStdString(failure.what());
    r.number = failure.number();
    r.source = QString::fromStdString(failure.source());
    r.renderStatus = m_picture.setrenderstatus;
    r.renderTime = rendertime;
    r.totalLines = totallines;
    r.linesDone = convertlinenr->text();
    r.rgbText = convertrgbcolor->text();
    r.hexColor = QString::fromStdString(hexcolor);
    r.renderArea = m_picture.renderAreaCode();
    r.renderPixels = m_picture.pixelTotal();
    return r;
}

void ConvertFrame::runGuarded(engine::Operation operation, const std::function<void()> &body)
{
    try {
        body();
    } catch (engine::Failure &failure) {
        failure.claim(operation);
        reportFailure(failure);
    } catch (const std::exception &error) {
        engine::Failure failure(engine::ErrorNumber::InvalidCall, error.what(), "quennet");
        failure.claim(operation);
        reportFailure(failure);
    }
}

void ConvertFrame::reportFailure(const engine::Failure &failure)
{
    // The program is ending from here on: no tick while the message box is open may count or fail.
    statustimer->stop();
    // A running scan refreshes the displays only between rounds of events; the block shows the
    // conversion as it stood at the failure.
    if (m_conversion && !m_conversion->stopconvert()) showScanProgress();
    const QByteArray block = errorBlock(reportOf(failure, m_platform.dateTimeText()));
    // A report that cannot be written still reaches whoever started the program.
    if (!appendErrorBlock(kReportFile, block)) std::fwrite(block.constData(), 1, block.size(), stderr);
    m_platform.message(tr("Error: Send file errormsg.txt to Corvalis..."), QString(), Buttons::Ok, false);
    emit endRequested(1);
}

} // namespace ui
