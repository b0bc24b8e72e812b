// SPDX-License-Identifier: MIT
#pragma once

#include "errorreport.h"

#include "platform/guard.h"
#include "platform/platform.h"

#include <functional>

namespace ui {

// The window's failure handler, shared by its guarded handlers: a failure is appended to the
// report file with the window's state at that moment, told to the user, and ends the program.
class FailureGuard : public platform::Guard
{
public:
    // stateAtFailure stills the window (a running conversion's timer) and gives its state for
    // the report; end ends the program with an exit code.
    FailureGuard(platform::Platform &platform, std::function<ErrorReport()> stateAtFailure,
                 std::function<void(int)> end);

    void runGuarded(platform::Handler handler, const std::function<void()> &body) override;

private:
    void report(const engine::Failure &failure, platform::Handler handler);

    platform::Platform &m_platform;
    std::function<ErrorReport()> m_stateAtFailure;
    std::function<void(int)> m_end;
};

} // namespace ui
