// SPDX-License-Identifier: MIT
// The status timer: seconds elapsed and left while a conversion runs.
#include "quennet.h"

namespace ui {

void quennet::connectStatusHandlers() {}

} // namespace ui
