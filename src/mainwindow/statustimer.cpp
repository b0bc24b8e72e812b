// SPDX-License-Identifier: MIT
// The status timer: seconds elapsed and left while a conversion runs.
#include "convertframe.h"

#include "engine/numbers.h"

#include <QLabel>
#include <QTimer>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

namespace ui {

namespace {

double linesDone(const QString &caption)
{
    const std::string text = caption.toStdString();
    const std::optional<double> done = engine::parseNumber(text);
    if (!done)
        throw engine::Failure(engine::ErrorNumber::TypeMismatch, "Type mismatch: \"" + text + "\" is not a number",
                              "statustimer");
    // "0" itself never gets here; another spelling of zero would make the estimate infinite.
    if (*done == 0) throw engine::Failure(engine::ErrorNumber::DivisionByZero, "Division by zero", "statustimer");
    return *done;
}

} // namespace

void ConvertFrame::statustimer_Timer()
{
    m_guard.runGuarded(platform::Handler::StatTimer, [this] {
        // Ticks before the first line is finished are not counted, so the count is the time the
        // finished lines took.
        if (convertlinenr->text() == "0") return;
        rendertime = engine::checkedInt16(rendertime + 1, "rendertime", "statustimer");
        const double done = linesDone(convertlinenr->text());
        const double left = std::floor(rendertime / done * (totallines - done));
        if (!std::isfinite(left))
            throw engine::Failure(engine::ErrorNumber::Overflow, "Overflow: time left is out of range", "statustimer");
        convertinfo3->setText(QString::number(rendertime) + " sec elasped, " + QString::number(left, 'f', 0) +
                              " sec left.");
    });
}

} // namespace ui
