// SPDX-License-Identifier: MIT
#pragma once

#include "engine/scan.h"

#include <QImage>
#include <QString>

namespace ui {

// What a conversion takes from the window's other frames. The window answers for them, so the
// convert frame names none of its siblings.
class ConvertInputs
{
public:
    virtual ~ConvertInputs() = default;
    // The message as typed, checked before anything else is read.
    virtual QString messageText() const = 0;
    // The render area with its pixel count, and the text and colour options, as the frames show
    // them; a render area code that does not parse throws, as the scan's set-up does.
    virtual void readSettings(engine::ScanSettings &settings) const = 0;
    // The picture and its background as the box shows them, without the outline drawn over it.
    virtual QImage drawingArea() const = 0;
};

} // namespace ui
