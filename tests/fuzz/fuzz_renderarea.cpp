// SPDX-License-Identifier: MIT
// Render area codes as typed or pasted: any text either parses or fails with a Failure.
#include "engine/failure.h"
#include "engine/renderarea.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string_view code(reinterpret_cast<const char *>(data), size);
    try {
        const engine::RenderArea area = engine::splitrenderareacode(code);
        if (area.withinBounds()) (void)area.pixelCount();
    } catch (const engine::Failure &) {
    }
    return 0;
}
