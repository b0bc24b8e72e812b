// SPDX-License-Identifier: MIT
#include "interruption.h"

#include "convertoptions.h"
#include "engine/pagecommit.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>

namespace cli {

namespace {

// What a signal handler may read: fixed buffers, published by a flag once written.
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
std::atomic<bool> g_ending{false};

void onSignal(int signal)
{
    g_ending = true;
    for (Place &place : g_places) {
        if (!place.ready) continue;
        engine::removeUnfinishedPage(place.temporary, place.device, place.inode, place.name, place.nameDevice,
                                     place.nameInode, place.created);
    }
    // Ends the process as the signal would have, once this handler returns.
    std::signal(signal, SIG_DFL);
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
    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&action.sa_mask, signal);
        // A signal ignored when the run began (nohup) stays ignored.
        struct sigaction before
        {
        };
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
        sigaction(signal, &action, nullptr);
    }
}

int Interruption::enter(const engine::PageFile &page)
{
    const engine::PageName &name = page.name();
    for (int i = 0; i < int(std::size(g_places)) && !g_ending; ++i) {
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
