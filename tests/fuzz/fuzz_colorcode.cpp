// SPDX-License-Identifier: MIT
// The colour encoder: the first line is the colour quality box's text, each further line one
// pixel's colour text. What it emits must match the band rule worked out directly: a channel's
// drift sums (value - held) and the channel takes the value once |drift| > (100 - Q) / 2.
#include "fuzzinput.h"

#include "engine/colorcode.h"
#include "engine/failure.h"
#include "engine/numbers.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::vector<std::string> lines = splitInput(data, size);
    double quality = 0;
    try {
        quality = engine::toInt16(lines[0], "colorquality");
    } catch (const engine::Failure &) {
        return 0;
    }
    engine::ColorEncoder encoder(quality);
    int held[3] = {0, 0, 0}; // red, green, blue
    int drift[3] = {0, 0, 0};
    for (std::size_t i = 1; i < lines.size(); ++i) {
        int32_t color = 0;
        try {
            color = engine::toInt32(lines[i], "fuzz");
        } catch (const engine::Failure &) {
            continue; // the encoder reads colour text the same way, so it refuses this too
        }
        for (int k = 0; k < 3; ++k) {
            const int value = int((uint32_t(color) >> (8 * k)) & 0xFF);
            drift[k] += value - held[k];
            if (std::abs(drift[k]) > (100 - quality) / 2) drift[k] = 0, held[k] = value;
        }
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02X%02X%02X", held[0], held[1], held[2]);
        const uint32_t rgb = encoder.ConvertRGB(lines[i]); // no drift of a 16-bit quality overflows
        if (rgb != uint32_t(held[0] << 16 | held[1] << 8 | held[2]) || encoder.hexcolor() != hex) __builtin_trap();
    }
    return 0;
}
