// SPDX-License-Identifier: MIT
// Pictures stored on their side or mirrored, as cameras write them; not part of the library's
// interface.
#pragma once

#include "decode.h"

namespace decode::detail {

// The Exif orientation (1 to 8) of a picture of format in data; 1 when it has none or it is the
// reader's library that turns the picture.
int storedOrientation(Format format, const uint8_t *data, std::size_t size);
// What to ask a reader for so that the picture turned upright gives request: the kept part of the
// stored picture (the whole of it in a direction that is reversed) and a target the other way round.
Request storedRequest(const Request &request, int orientation);
// The stored picture in result, read with storedRequest(), turned upright and kept as request asks.
void turnUpright(Result &result, int orientation, const Request &request);

} // namespace decode::detail
