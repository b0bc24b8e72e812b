// SPDX-License-Identifier: MIT
#include "interruption.h"

#include "convertoptions.h"
#include "engine/pagecommit.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <pthread.h>
#include <thread>

namespace cli {

namespace {

// A page being written, as the run's end removes it.
struct Place
{
    std::atomic<bool> taken{false};
    std::atomic<bool> ready{false};
    char temporary[PATH_MAX];
    char name[PATH_MAX];
    dev_t device, nameDevice;
    ino_t inode, nameInode;
    bool created;
};

// One for each picture converted at once, at most.
Place g_places[kMostJobs];
// Held while a page is claimed and recorded, and by the run's end, which never lets go.
std::mutex g_claims;
std::atomic<bool> g_ending{false};

// Takes the first of the signals every thread blocks, on a thread of its own, where it may wait: once
// the claims under way are recorded, removes what the pages being written left, then ends the
// process as the signal would have.
void endRuns(sigset_t signals)
{
    int signal = 0;
    if (sigwait(&signals, &signal) != 0) return;
    g_claims.lock();
    g_ending = true;
    for (Place &place : g_places) {
        if (!place.ready) continue;
        engine::removeUnfinishedPage(place.temporary, place.device, place.inode, place.name, place.nameDevice,
                                     place.nameInode, place.created);
    }
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    std::raise(signal);
}

bool copy(char (&to)[PATH_MAX], const std::string &from)
{
    if (from.size() >= sizeof to) return false;
    std::memcpy(to, from.c_str(), from.size() + 1);
    return true;
}

} // namespace

void Interruption::install()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        // A signal ignored when the run began (nohup) stays ignored.
        struct sigaction before
        {
        };
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
        sigaddset(&signals, signal);
    }
    // Blocked here, before any other thread starts, so that every thread inherits it and only
    // endRuns() takes them.
    if (pthread_sigmask(SIG_BLOCK, &signals, nullptr) == 0) std::thread(endRuns, signals).detach();
}

ClaimSection::ClaimSection() : m_lock(g_claims) {}

bool ClaimSection::stopping() const
{
    return g_ending;
}

int Interruption::enter(const engine::PageFile &page)
{
    const engine::PageName &name = page.name();
    for (int i = 0; i < int(std::size(g_places)); ++i) {
        Place &place = g_places[i];
        if (place.taken.exchange(true)) continue;
        if (!copy(place.temporary, name.temporary) || !copy(place.name, name.path)) {
            place.taken = false;
            return -1;
        }
        place.device = page.device();
        place.inode = page.inode();
        place.nameDevice = name.device;
        place.nameInode = name.inode;
        place.created = name.created;
        place.ready = true;
        return i;
    }
    return -1;
}

void Interruption::leave(int place)
{
    if (place < 0) return;
    g_places[place].ready = false;
    g_places[place].taken = false;
}

} // namespace cli
