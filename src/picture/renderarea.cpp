// SPDX-License-Identifier: MIT
// Choosing the render area on the picture.
#include "mainwindow/quennet.h"

namespace ui {

void quennet::connectRenderAreaHandlers() {}

} // namespace ui
