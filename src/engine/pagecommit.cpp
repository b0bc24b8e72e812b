// SPDX-License-Identifier: MIT
#include "pagecommit.h"

#include "failure.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {

namespace {

// Long enough that names seldom meet, short enough that the temporary's name fits where the page's did.
constexpr std::size_t kLongestBase = 200;

uint32_t randomWord()
{
    static std::atomic<uint32_t> counter{0};
    uint32_t word = 0;
    if (::getrandom(&word, sizeof word, GRND_NONBLOCK) != sizeof word)
        word = uint32_t(::getpid()) * 2654435761u + counter++;
    return word;
}

bool isSame(const struct stat &info, dev_t device, ino_t inode)
{
    return S_ISREG(info.st_mode) && info.st_dev == device && info.st_ino == inode;
}

// Removes path if it is still the regular file device and inode name. Safe in a signal handler.
bool removeIfSame(const char *path, dev_t device, ino_t inode)
{
    struct stat info
    {
    };
    return ::lstat(path, &info) == 0 && isSame(info, device, inode) && ::unlink(path) == 0;
}

bool under(const std::string &path, const char *root)
{
    const std::size_t n = std::strlen(root);
    return path.compare(0, n, root) == 0 && (path.size() == n || path[n] == '/');
}

} // namespace

void stageBeside(PageFile &page, bool replacing)
{
    const std::string &path = page.path();
    const std::size_t start = path.rfind('/') + 1; // 0 without a folder
    const std::string base = path.substr(start, kLongestBase);
    struct stat replaced
    {
    };
    const bool keepMode = !page.created() && ::fstat(page.fd(), &replaced) == 0;
    // Never readable by more than the replaced file: created with its permissions, which the
    // umask may only narrow, then given them exactly where the file system lets it.
    const mode_t mode = keepMode ? replaced.st_mode & 0777 : 0666;
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.part", randomWord());
        std::string temporary = path.substr(0, start) + "." + base + suffix;
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) {
            if (keepMode) (void)::fchmod(fd, mode);
            page.stageAt(std::move(temporary), fd, replacing);
            return;
        }
        error = errno;
    }
    if (page.created()) removeIfSame(path.c_str(), page.device(), page.inode());
    throw Failure(ErrorNumber::FileAccess,
                  "Cannot create \"" + path + "\": no temporary file beside it (" + std::strerror(error) + ")",
                  "PageFile");
}

bool commitPage(const PageName &name, dev_t device, ino_t inode, std::string &error)
{
    struct stat info
    {
    };
    if (::lstat(name.temporary.c_str(), &info) != 0 || !isSame(info, device, inode)) {
        error = "the page was removed or replaced while it was written";
        return false;
    }
    const char *temporary = name.temporary.c_str();
    const char *path = name.path.c_str();
    if (::lstat(path, &info) != 0 && errno == ENOENT && !name.replaces) {
        // The empty file holding the name is gone: take the name only if it is still free.
        if (::link(temporary, path) == 0) {
            // A temporary someone else removed meanwhile leaves the page whole all the same.
            if (::unlink(temporary) == 0 || errno == ENOENT) return true;
            // Not a silent success: a second name for the page is left behind.
            const char *const why = std::strerror(errno);
            error = std::string("the page is whole, but its temporary file could not be removed (") + why + ")";
            return false;
        }
        error = errno == EEXIST ? "its name was taken while it was written" : std::strerror(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode) || S_ISLNK(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? "is a folder" : "is a symbolic link";
        return false;
    }
    if (!name.replaces && (!isSame(info, name.device, name.inode) || info.st_size != 0)) {
        error = "its name no longer holds the file this conversion created";
        return false;
    }
    if (::rename(temporary, path) == 0) return true;
    error = std::strerror(errno);
    return false;
}

bool removeUnfinishedPage(const char *temporary, dev_t device, ino_t inode, const char *name, dev_t nameDevice,
                          ino_t nameInode, bool created)
{
    if (*temporary != '\0') removeIfSame(temporary, device, inode);
    return created && removeIfSame(name, nameDevice, nameInode);
}

void refuseSystemFolder(const std::string &picture)
{
    const std::size_t slash = picture.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : picture.substr(0, slash);
    char resolved[PATH_MAX];
    if (!::realpath(folder.c_str(), resolved)) return; // creating the page says what is wrong
    const std::string real = resolved;
    for (const char *root : {"/dev", "/proc", "/sys"})
        if (under(real, root))
            throw Failure(ErrorNumber::FileAccess,
                          "Cannot create a page beside \"" + picture + "\": it is not a picture in a folder (" + real +
                              " holds no pages)",
                          "PageFile");
}

int standardStreamNamed(const std::string &name)
{
    for (const char *input : {"/dev/stdin", "/dev/fd/0", "/proc/self/fd/0"})
        if (name == input) return 0;
    for (const char *output : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"})
        if (name == output) return 1;
    return -1;
}

int openOutputStream(const std::string &path, std::string &error)
{
    const auto stream = [](const struct stat &info) { return S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode); };
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0 || !stream(info)) return -1;
    // Neither created nor truncated: what the name holds is written to, as a shell's > would.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !stream(info)) {
        ::close(fd);
        error = "is no longer a FIFO or device";
        return -1;
    }
    return fd;
}

void reserveStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lowest free descriptor: fd itself, as those below it are open.
        const int opened = ::open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

} // namespace engine
