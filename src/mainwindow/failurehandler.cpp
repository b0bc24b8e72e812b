// SPDX-License-Identifier: MIT
// The failure handler shared by the guarded operations: report, tell the user, end.
#include "quennet.h"

namespace ui {

using platform::Buttons;

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

void quennet::reportFailure(const engine::Failure &)
{
    if (m_ended) return;
    m_platform.message("Error: Send file errormsg.txt to Corvalis...", QString(), Buttons::Ok, false);
    endProgram(1);
}

} // namespace ui
