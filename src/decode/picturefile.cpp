// SPDX-License-Identifier: MIT
#include "decode.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace decode {

int openPictureFile(const std::string &path, std::string &error)
{
    // Without blocking: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno == EISDIR ? "is a folder" : std::strerror(errno);
        return -1;
    }
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? "is a folder" : "is not a regular file (a FIFO, device or socket)";
        ::close(fd);
        return -1;
    }
    return fd;
}

std::vector<uint8_t> readFile(int fd, std::string &error, std::size_t maxFileSize)
{
    // A regular file is read in one go into a buffer of its size; anything else grows as it comes.
    struct stat status;
    std::vector<uint8_t> bytes;
    std::size_t capacity = 1 << 16;
    if (::fstat(fd, &status) != 0) {
        error = std::strerror(errno);
        return {};
    }
    const auto tooLong = [&] { error = "the file is larger than " + std::to_string(maxFileSize >> 20) + " MiB"; };
    if (S_ISREG(status.st_mode) && status.st_size >= 0) {
        if (std::size_t(status.st_size) > maxFileSize) {
            tooLong();
            return {};
        }
        capacity = std::size_t(status.st_size) + 1;
    }
    bytes.resize(capacity);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > maxFileSize) break;
            bytes.resize(std::min(used * 2, maxFileSize + 1));
        }
        const ssize_t got = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = std::strerror(errno);
            return {};
        }
        if (got == 0) break;
        used += std::size_t(got);
    }
    if (used > maxFileSize) {
        tooLong();
        return {};
    }
    bytes.resize(used);
    return bytes;
}

namespace {

// Holds room for n bytes of picture files until it goes; waits while others hold too much.
class FileRoom
{
public:
    explicit FileRoom(std::size_t n) : m_n(n)
    {
        std::unique_lock<std::mutex> lock(s_mutex);
        s_freed.wait(lock, [n] { return s_held == 0 || s_held + n <= kFileBytesAtOnce; });
        s_held += n;
    }
    ~FileRoom()
    {
        {
            const std::lock_guard<std::mutex> lock(s_mutex);
            s_held -= m_n;
        }
        s_freed.notify_all();
    }
    FileRoom(const FileRoom &) = delete;
    FileRoom &operator=(const FileRoom &) = delete;

private:
    std::size_t m_n;
    static inline std::mutex s_mutex;
    static inline std::condition_variable s_freed;
    static inline std::size_t s_held = 0;
};

} // namespace

Result decodeFile(int fd, const Request &request, std::size_t maxFileSize)
{
    struct stat status
    {
    };
    const bool sized = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size >= 0;
    const FileRoom room(sized ? std::min(std::size_t(status.st_size), maxFileSize) : 0);
    Result failed;
    const std::vector<uint8_t> bytes = readFile(fd, failed.error, maxFileSize);
    return failed.ok() ? decodePicture(bytes.data(), bytes.size(), request) : failed;
}

} // namespace decode
