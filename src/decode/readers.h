// SPDX-License-Identifier: MIT
// What the format readers share; not part of the library's interface.
#pragma once

#include "decode.h"

namespace decode::detail {

// Sets the picture's size in result and makes its canvas (filled with fill), or sets result's
// error when a picture of that size is empty or would take more than the memory allowed.
// bytesPerPixel is what the decoder needs for the whole picture; 0 when only the canvas counts.
bool startCanvas(Result &result, long long width, long long height, const Request &request, int bytesPerPixel,
                 uint32_t fill);

inline uint32_t rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r | g << 8 | b << 16;
}

// x * a / 255, rounded the way Qt's raster painter rounds it, so that a picture laid over the
// background gives the very colours the window has always shown.
inline uint32_t mulAlpha(uint32_t x, uint32_t a)
{
    const uint32_t t = x * a;
    return (t + (t >> 8) + 0x80) >> 8;
}

// r, g, b at alpha a laid over background (0x00BBGGRR).
inline uint32_t over(uint32_t r, uint32_t g, uint32_t b, uint32_t a, uint32_t background)
{
    if (a == 255) return rgb(r, g, b);
    if (a == 0) return background;
    const uint32_t rest = 255 - a;
    return rgb(mulAlpha(r, a) + mulAlpha(background & 0xFF, rest),
               mulAlpha(g, a) + mulAlpha(background >> 8 & 0xFF, rest),
               mulAlpha(b, a) + mulAlpha(background >> 16 & 0xFF, rest));
}

std::string tooLarge(long long width, long long height, const Request &request);

void readBmp(const uint8_t *data, std::size_t size, const Request &request, Result &result);
void readJpeg(const uint8_t *data, std::size_t size, const Request &request, Result &result);
void readPng(const uint8_t *data, std::size_t size, const Request &request, Result &result);
void readGif(const uint8_t *data, std::size_t size, const Request &request, Result &result);
void readWebP(const uint8_t *data, std::size_t size, const Request &request, Result &result);
void readTiff(const uint8_t *data, std::size_t size, const Request &request, Result &result);
void readHeif(const uint8_t *data, std::size_t size, const Request &request, Result &result);
void readJxl(const uint8_t *data, std::size_t size, const Request &request, Result &result);

} // namespace decode::detail
