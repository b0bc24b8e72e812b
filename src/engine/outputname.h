// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// True when path names an existing ordinary file (folders do not count).
bool isOrdinaryFile(const std::string &path);

// The page name for the text T of the file name box: T itself when no file T exists; otherwise T
// without its last four characters, then n, then ".htm", for the first n in 1..100 whose name is
// free (cat.bmp -> cat1.htm; cat.jpeg -> cat.1.htm). nullopt when all hundred are taken.
// T is UTF-8; characters, not bytes, are removed. Throws Failure when T is shorter than four.
// Pages of other formats end in their own extension in place of ".htm".
std::optional<std::string> nextFreeOutputName(const std::string &t,
                                              const std::function<bool(const std::string &)> &exists = isOrdinaryFile,
                                              std::string_view extension = ".htm");

} // namespace engine
