// SPDX-License-Identifier: MIT
// The failure handler shared by the guarded operations: report, tell the user, end.
#include "controls.h"
#include "errorreport.h"
#include "quennet.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>

namespace ui {

using platform::Buttons;

namespace {

// Given without a folder: the report lies in the current working directory.
const QString kReportFile = QStringLiteral("Errormsg.txt");

ErrorReport reportOf(const quennet &window, const engine::Failure &failure, const QString &dateTime)
{
    ErrorReport r;
    r.dateTime = dateTime;
    r.operation = failure.operation();
    r.description = QString::fromStdString(failure.what());
    r.number = failure.number();
    r.source = QString::fromStdString(failure.source());
    r.renderStatus = window.setrenderstatus;
    r.renderTime = window.rendertime;
    r.totalLines = window.totallines;
    r.linesDone = window.convertlinenr->text();
    r.rgbText = window.convertrgbcolor->text();
    r.hexColor = QString::fromStdString(window.hexcolor);
    r.renderArea = window.renderareapoint->text();
    r.renderPixels = window.totpixels->text();
    return r;
}

} // namespace

void quennet::runGuarded(engine::Operation operation, const std::function<void()> &body)
{
    try {
        body();
    } catch (const ProgramEnded &) {
        // The program was ended further in; nothing of this handler goes on.
    } catch (engine::Failure &failure) {
        failure.claim(operation);
        reportFailure(failure);
    } catch (const std::exception &error) {
        engine::Failure failure(engine::ErrorNumber::InvalidCall, error.what(), "quennet");
        failure.claim(operation);
        reportFailure(failure);
    }
}

void quennet::reportFailure(const engine::Failure &failure)
{
    if (m_ended) return;
    // The program is ending from here on: a tick while the message box is open must neither count
    // nor report a second time.
    m_ended = true;
    statustimer->stop();
    // A running scan refreshes the displays only between rounds of events; the block shows the
    // conversion as it stood at the failure.
    if (m_conversion && !m_conversion->stopconvert()) showScanProgress();
    const QByteArray block = errorBlock(reportOf(*this, failure, m_platform.dateTimeText()));
    // A report that cannot be written still reaches whoever started the program.
    if (!appendErrorBlock(kReportFile, block)) std::fwrite(block.constData(), 1, block.size(), stderr);
    m_platform.message("Error: Send file errormsg.txt to Corvalis...", QString(), Buttons::Ok, false);
    endProgram(1);
}

} // namespace ui
