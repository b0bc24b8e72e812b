// SPDX-License-Identifier: MIT
#pragma once

#include "engine/failure.h"

#include <functional>

namespace platform {

// Runs the body of a guarded handler: a failure thrown from it is claimed by operation, reported,
// and ends the program. The main window provides it to the parts that own guarded handlers.
class Guard
{
public:
    virtual ~Guard() = default;
    virtual void runGuarded(engine::Operation operation, const std::function<void()> &body) = 0;
};

} // namespace platform
