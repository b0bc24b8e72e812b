// SPDX-License-Identifier: MIT
// Colour and text options.
#include "mainwindow/quennet.h"

namespace ui {

void quennet::connectOptionHandlers() {}

} // namespace ui
