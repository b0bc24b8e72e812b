// SPDX-License-Identifier: MIT
#pragma once

#include "convertoptions.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace cli {

// What converting one picture has to say: the page name for standard output (when the page went
// to a file) and the messages for standard error. Kept until earlier pictures have spoken, so a
// batch converted in parallel speaks in the order its pictures were given.
struct PictureResult
{
    bool written = false;
    std::string pageName;
    std::string messages;
};

// Where a picture's page goes.
enum class PageTarget {
    Beside,         // the first free numbered name beside the picture
    OutputFile,     // the -o file
    StandardOutput, // "-o -", or a picture read from standard input
};

// Pictures converted at once claim their page names one after another, in the order they were
// given, so that a parallel batch names its pages as a sequential one does.
class ClaimOrder
{
public:
    // Waits until every picture before index has claimed its name or given up.
    void waitFor(int index);
    void pass(int index);

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<bool> m_passed;
    int m_next = 0;
};

PageTarget pageTarget(const std::string &picture, const ConvertJob &job);

// Reads the picture (standard input for "-"), scales it if asked, and writes its page. Safe to run
// for several pictures at once: each page name beside a picture is claimed by creating it.
// index is the picture's place in the batch, for order.
PictureResult convertPicture(const std::string &picture, const ConvertJob &job, int index, ClaimOrder &order);

} // namespace cli
