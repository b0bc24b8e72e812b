// SPDX-License-Identifier: MIT
#pragma once

#include "engine/failure.h"

#include <functional>

namespace platform {

// The window's handlers that run guarded; a failure the engine has not claimed names the handler.
enum class Handler {
    ConvertButton,
    MainpicMouse,
    StatTimer,
};

// Runs the body of a guarded handler: a failure thrown from it is reported as the handler's (or
// the engine procedure's that claimed it), and ends the program. The main window provides it to the parts that own
// guarded handlers.
class Guard
{
public:
    virtual ~Guard() = default;
    virtual void runGuarded(Handler handler, const std::function<void()> &body) = 0;
};

} // namespace platform
