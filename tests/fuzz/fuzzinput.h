// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The fuzz input cut at every separator: n separators give n + 1 pieces, empty ones included.
inline std::vector<std::string> splitInput(const uint8_t *data, std::size_t size, char separator = '\n')
{
    std::vector<std::string> pieces(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == uint8_t(separator))
            pieces.emplace_back();
        else
            pieces.back() += char(data[i]);
    }
    return pieces;
}
