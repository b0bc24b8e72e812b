// SPDX-License-Identifier: MIT
#pragma once

#include "pagefile.h"

#include <string>
#include <sys/types.h>

namespace engine {

// Writes page from now on to a new temporary file beside its name (same folder, so a rename can
// give it the name), created exclusively and never through a link. For a page that replaces an
// existing file, the temporary takes that file's permissions; replacing, it takes the place of
// whatever regular file holds the name when it is whole. Throws Failure (FileAccess).
void stageBeside(PageFile &page, bool replacing = false);

// Gives a staged page its name: the temporary, still the file written (device, inode), is renamed
// over the name, which must still hold the empty file this run created, or for a replacement
// anything but a folder or a link. False, with error saying why, when it cannot be done.
bool commitPage(const PageName &name, dev_t device, ino_t inode, std::string &error);

// Removes what an unfinished page left: its temporary (none when empty) while it is still the
// file written (device, inode), and its name, if this program created it, while that still holds
// the file claimed (nameDevice, nameInode). No allocation: safe in a signal handler. True when
// the name was removed.
bool removeUnfinishedPage(const char *temporary, dev_t device, ino_t inode, const char *name, dev_t nameDevice,
                          ino_t nameInode, bool created);

// Pages are made beside pictures in folders: never in /dev, /proc or /sys, where a picture named
// through a link (/dev/stdin, /dev/fd/3) would put them. Throws Failure (FileAccess) for such a picture.
void refuseSystemFolder(const std::string &picture);

// Which standard stream a name stands for: 0 for /dev/stdin and its aliases, 1 for /dev/stdout
// and its aliases; -1 for any other name.
int standardStreamNamed(const std::string &name);

// Opens path for writing as a stream when it is a FIFO or a character device (links followed, as
// for /dev/stdout): never truncated, removed or renamed over. Waits for a FIFO's reader. -1 when
// path is no such thing (nothing is opened) or cannot be opened (error says why).
int openOutputStream(const std::string &path, std::string &error);

// Puts /dev/null on standard input, output or error when it is closed, open the wrong way round so
// that reading or writing still fails as on a closed descriptor: no page or report the program
// opens can then take descriptor 0, 1 or 2 and receive what was meant for a standard stream.
void reserveStandardDescriptors();

} // namespace engine
