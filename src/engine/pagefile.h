// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>

namespace engine {

// A page's name and, while the page is written, the temporary file beside it that takes the name
// once the page is whole, so that no name ever holds part of a page.
struct PageName
{
    std::string path;      // the page's name
    std::string temporary; // empty: the page is written under its name
    bool created = false;  // this run created path (empty, to hold the name): only then may it go
    bool replaces = false; // the page replaces whatever regular file holds path then (-o FILE)
    dev_t device = 0;      // the file at path when the page was claimed
    ino_t inode = 0;

    // Where the bytes go: the temporary while there is one, else the page's name.
    const std::string &writePath() const { return temporary.empty() ? path : temporary; }
};

// A page file opened for writing, held open until a writer takes it. It remembers which file it
// is (device and inode), so that a writer reopening it by name can tell it is still the same one,
// and whether this program created it: only such a file may be removed after a failure.
class PageFile
{
public:
    PageFile() = default;
    PageFile(std::string path, int fd, bool created);
    PageFile(PageFile &&other) noexcept { *this = std::move(other); }
    PageFile &operator=(PageFile &&other) noexcept;
    PageFile(const PageFile &) = delete;
    PageFile &operator=(const PageFile &) = delete;
    ~PageFile() { close(); }

    const std::string &path() const { return m_name.path; }
    const PageName &name() const { return m_name; }
    int fd() const { return m_fd; } // -1 once closed
    dev_t device() const { return m_device; }
    ino_t inode() const { return m_inode; }
    bool created() const { return m_name.created; }
    // From now on the page is written to temporary, open as fd, and takes its name when whole;
    // replacing, the file then at its name goes, whichever it is.
    void stageAt(std::string temporary, int fd, bool replacing);
    // Hands the descriptor over; the caller closes it.
    int release() { return std::exchange(m_fd, -1); }
    void close();

private:
    PageName m_name;
    int m_fd = -1;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

// Creates path as a new, empty regular file: never through a link, never onto an existing entry
// of any kind (file, folder, link, FIFO, device). nullopt when the name is taken; any other
// refusal (no such folder, no permission) throws Failure (FileAccess).
std::optional<PageFile> claimPage(const std::string &path);

// A page at a name the user chose: claimed when free, else the regular file there is truncated
// (it was not created here, so it is never removed). Links, folders, FIFOs and devices are
// refused with Failure (FileAccess), as is a file that cannot be opened for writing.
PageFile replacePage(const std::string &path);

// The same for a page written whole or not at all: the file at path is only replaced, by rename,
// once the page is whole; it must be a regular file this user may write, and its permissions pass
// to the page.
PageFile stageReplacement(const std::string &path);

// Claims the page beside a picture by the naming rule of nextFreeOutputName(), taking the first
// free name atomically, so that concurrent conversions never share a page. The bare name comes first only when offered:
// a picture's own name never is, as the picture may be gone by then. nullopt when all hundred names are taken; Failure
// as nextFreeOutputName() and claimPage() throw, and for a folder in /dev, /proc or /sys. Pages of other formats end in
// their own extension in place of ".htm".
std::optional<PageFile> claimNextFreePage(const std::string &picture, std::string_view extension = ".htm",
                                          bool offerBareName = false);

// Removes what a failed page left: its temporary, and its name if this program created it, each
// only while it still holds that very file. True when the page's name was removed.
bool removeCreatedPage(const PageFile &page);

// True when both names lead to one existing file (links followed).
bool sameFile(const std::string &a, const std::string &b);

// What is wrong with opening path, for messages: "is a folder", "is a symbolic link", "is not a
// regular file", else the system's text for error.
std::string describeOpenError(const std::string &path, int error);

} // namespace engine
