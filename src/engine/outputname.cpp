// SPDX-License-Identifier: MIT
#include "outputname.h"

#include "failure.h"

#include <sys/stat.h>

namespace engine {

namespace {

// Byte length of text without its last n UTF-8 characters, or nullopt if it has fewer.
std::optional<std::size_t> withoutLastChars(const std::string &text, int n)
{
    std::size_t end = text.size();
    while (n-- > 0) {
        if (end == 0) return std::nullopt;
        --end;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            --end;
    }
    return end;
}

} // namespace

bool isOrdinaryFile(const std::string &path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::string> nextFreeOutputName(const std::string &t,
                                              const std::function<bool(const std::string &)> &exists,
                                              std::string_view extension)
{
    if (!exists(t)) return t;
    const std::optional<std::size_t> stem = withoutLastChars(t, 4);
    if (!stem)
        throw Failure(ErrorNumber::InvalidCall, "Invalid file name \"" + t + "\": shorter than four characters",
                      "OutputName");
    for (int n = 1; n <= 100; ++n) {
        std::string candidate = t.substr(0, *stem) + std::to_string(n) + std::string(extension);
        if (!exists(candidate)) return candidate;
    }
    return std::nullopt;
}

} // namespace engine
