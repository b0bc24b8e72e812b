// SPDX-License-Identifier: MIT
#include "failureguard.h"

#include "engine/terminaltext.h"

#include <QString>

#include <cstdio>

namespace ui {

using platform::Buttons;

namespace {

// Given without a folder: the report lies in the current working directory.
const QString kReportFile = QStringLiteral("Errormsg.txt");

} // namespace

FailureGuard::FailureGuard(platform::Platform &platform, std::function<ErrorReport()> stateAtFailure,
                           std::function<void(int)> end)
    : m_platform(platform), m_stateAtFailure(std::move(stateAtFailure)), m_end(std::move(end))
{
}

void FailureGuard::runGuarded(platform::Handler handler, const std::function<void()> &body)
{
    try {
        body();
    } catch (const engine::Failure &failure) {
        report(failure, handler);
    } catch (const std::exception &error) {
        report(engine::Failure(engine::ErrorNumber::InvalidCall, error.what(), "quennet"), handler);
    }
}

void FailureGuard::report(const engine::Failure &failure, platform::Handler handler)
{
    ErrorReport r = m_stateAtFailure();
    r.progress = progressName(failure.operation(), handler);
    r.description = QString::fromStdString(failure.what());
    r.number = failure.number();
    r.source = QString::fromStdString(failure.source());
    r.dateTime = m_platform.dateTimeText();
    // A report that cannot be written still reaches whoever started the program, each line
    // quoted for the terminal (a file name in a description could drive it or forge lines).
    if (!appendErrorBlock(kReportFile, errorBlock(r))) {
        std::string text;
        for (const QString &line : errorLines(r))
            text += engine::escapedText(line.toStdString()) + "\n";
        std::fwrite(text.data(), 1, text.size(), stderr);
    }
    m_platform.message(tr("Error: Send file errormsg.txt to Corvalis..."), QString(), Buttons::Ok, false);
    m_end(1);
}

} // namespace ui
