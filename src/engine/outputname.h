// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// True when an entry of any kind (file, folder, link, FIFO, device) is named path.
bool nameTaken(const std::string &path);

// The page name for the text T of the file name box: T itself when T is not taken; otherwise, in
// T's folder, T's file name without its last four characters, then n, then ".htm", for the first
// n in 1..100 whose name is not taken (cat.bmp -> cat1.htm; cat.jpeg -> cat.1.htm). nullopt when
// all hundred are taken. T is UTF-8; characters, not bytes, are removed, and never a folder's.
// Throws Failure (InvalidCall) when T's file name is shorter than four characters.
// Pages of other formats end in their own extension in place of ".htm".
std::optional<std::string> nextFreeOutputName(const std::string &t,
                                              const std::function<bool(const std::string &)> &taken = nameTaken,
                                              std::string_view extension = ".htm");

} // namespace engine
