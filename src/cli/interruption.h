// SPDX-License-Identifier: MIT
#pragma once

#include "engine/pagefile.h"

#include <mutex>

namespace cli {

// Pages being written when a signal (SIGINT, SIGTERM, SIGHUP) ends the run: their temporaries, and
// the empty files that hold their names, are removed before the signal ends the process as it
// would have, so that an interrupted batch leaves no page but whole ones.
class Interruption
{
public:
    // Blocks the signals and starts the thread that takes them; once, before any other thread starts.
    static void install();
    // Records a staged page until leave(), within a ClaimSection; -1 when every place is taken (the
    // page is then left as a signal finds it: a temporary and an empty name).
    static int enter(const engine::PageFile &page);
    static void leave(int place);
};

// Claiming a page and recording it are one step to a signal: the run ends only once the claims
// under way are recorded, so that no name it claimed is left empty. Claim nothing when stopping().
class ClaimSection
{
public:
    ClaimSection();
    bool stopping() const;

private:
    std::lock_guard<std::mutex> m_lock;
};

// Records a page for as long as it lives.
class InterruptionGuard
{
public:
    explicit InterruptionGuard(const engine::PageFile &page) : m_place(Interruption::enter(page)) {}
    ~InterruptionGuard() { Interruption::leave(m_place); }
    InterruptionGuard(const InterruptionGuard &) = delete;
    InterruptionGuard &operator=(const InterruptionGuard &) = delete;

private:
    int m_place;
};

} // namespace cli
