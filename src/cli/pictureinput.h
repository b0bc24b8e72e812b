// SPDX-License-Identifier: MIT
#pragma once

#include "pictureconversion.h"

#include "engine/scaling.h"
#include "engine/scan.h"

#include <string>

namespace cli {

extern const std::string kStandardInput;

// The picture's pixels and the settings that go with them: the area of the box as the window
// shows the picture, or the whole picture scaled.
struct LoadedPicture
{
    engine::PixelGrid pixels;
    engine::ScanSettings settings;
};

// Adds a message about subject to what the picture has to say, quoted for the terminal.
void say(PictureResult &result, const std::string &subject, const std::string &message);

// Reads the picture (standard input for "-"), cut to the box or scaled as the job asks. False,
// with the reason said, when it cannot be read or the area does not lie on it.
bool readPicture(const std::string &picture, const ConvertJob &job, LoadedPicture &loaded, PictureResult &result);

} // namespace cli
