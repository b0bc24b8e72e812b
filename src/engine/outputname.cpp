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

bool nameTaken(const std::string &path)
{
    struct stat info
    {
    };
    return ::lstat(path.c_str(), &info) == 0;
}

std::optional<std::string> nextFreeOutputName(const std::string &t,
                                              const std::function<bool(const std::string &)> &taken,
                                              std::string_view extension)
{
    if (!taken(t)) return t;
    const std::size_t folderEnd = t.rfind('/') + 1; // 0 without a folder
    const std::optional<std::size_t> stem = withoutLastChars(t, 4);
    if (!stem || *stem < folderEnd)
        throw Failure(ErrorNumber::InvalidCall, "Invalid file name \"" + t + "\": shorter than four characters",
                      "OutputName");
    for (int n = 1; n <= 100; ++n) {
        std::string candidate = t.substr(0, *stem) + std::to_string(n) + std::string(extension);
        if (!taken(candidate)) return candidate;
    }
    return std::nullopt;
}

} // namespace engine
