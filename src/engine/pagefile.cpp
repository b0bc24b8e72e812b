// SPDX-License-Identifier: MIT
#include "pagefile.h"

#include "failure.h"
#include "outputname.h"
#include "pagecommit.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {

namespace {

[[noreturn]] void failOpen(const char *what, const std::string &path, int error)
{
    throw Failure(ErrorNumber::FileAccess, std::string(what) + " \"" + path + "\": " + describeOpenError(path, error),
                  "PageFile");
}

// Which file fd is; left as they were when that cannot be told.
void identify(int fd, dev_t &device, ino_t &inode)
{
    struct stat info
    {
    };
    if (::fstat(fd, &info) == 0) {
        device = info.st_dev;
        inode = info.st_ino;
    }
}

} // namespace

PageFile::PageFile(std::string path, int fd, bool created) : m_fd(fd)
{
    m_name.path = std::move(path);
    m_name.created = created;
    identify(fd, m_device, m_inode);
    m_name.device = m_device;
    m_name.inode = m_inode;
}

void PageFile::stageAt(std::string temporary, int fd, bool replacing)
{
    close();
    m_name.temporary = std::move(temporary);
    m_name.replaces = replacing;
    m_fd = fd;
    identify(fd, m_device, m_inode);
}

PageFile &PageFile::operator=(PageFile &&other) noexcept
{
    if (this != &other) {
        close();
        m_name = std::move(other.m_name);
        m_fd = std::exchange(other.m_fd, -1);
        m_device = other.m_device;
        m_inode = other.m_inode;
    }
    return *this;
}

void PageFile::close()
{
    if (m_fd >= 0) ::close(std::exchange(m_fd, -1));
}

std::optional<PageFile> claimPage(const std::string &path)
{
    // O_EXCL fails on any existing entry, a dangling link included, so nothing is written through.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) return PageFile(path, fd, true);
    if (errno == EEXIST) return std::nullopt;
    failOpen("Cannot create", path, errno);
}

namespace {

// The regular file at path, opened for writing without truncating it; refused as replacePage() says.
PageFile openExisting(const std::string &path)
{
    // Without blocking: a FIFO would otherwise wait here for a reader.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) failOpen("Cannot create", path, errno);
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        failOpen("Cannot create", path, S_ISDIR(info.st_mode) ? EISDIR : ENXIO);
    }
    return PageFile(path, fd, false);
}

} // namespace

PageFile replacePage(const std::string &path)
{
    if (std::optional<PageFile> claimed = claimPage(path)) return std::move(*claimed);
    PageFile page = openExisting(path);
    if (::ftruncate(page.fd(), 0) != 0) failOpen("Cannot create", path, errno);
    return page;
}

PageFile stageReplacement(const std::string &path)
{
    std::optional<PageFile> page = claimPage(path);
    if (!page) page = openExisting(path);
    stageBeside(*page, true);
    return std::move(*page);
}

std::optional<PageFile> claimNextFreePage(const std::string &picture, std::string_view extension, bool offerBareName)
{
    refuseSystemFolder(picture);
    std::optional<PageFile> page;
    const auto taken = [&](const std::string &name) {
        if (name == picture && !offerBareName) return true;
        page = claimPage(name);
        return !page;
    };
    if (!nextFreeOutputName(picture, taken, extension)) return std::nullopt;
    return page;
}

bool removeCreatedPage(const PageFile &page)
{
    const PageName &name = page.name();
    return removeUnfinishedPage(name.temporary.c_str(), page.device(), page.inode(), name.path.c_str(), name.device,
                                name.inode, name.created);
}

bool sameFile(const std::string &a, const std::string &b)
{
    struct stat first
    {
    };
    struct stat second
    {
    };
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

std::string describeOpenError(const std::string &path, int error)
{
    struct stat info
    {
    };
    if (error == EISDIR) return "is a folder";
    if (error != ENOENT && ::lstat(path.c_str(), &info) == 0) {
        if (S_ISLNK(info.st_mode) && (error == ELOOP || error == EEXIST))
            return "is a symbolic link (pages are never written through links)";
        if (S_ISDIR(info.st_mode)) return "is a folder";
        if (!S_ISREG(info.st_mode) && (error == ENXIO || error == EEXIST)) return "is not a regular file";
    }
    return std::strerror(error);
}

} // namespace engine
