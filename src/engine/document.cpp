// SPDX-License-Identifier: MIT
#include "document.h"

#include "failure.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kCredit = "<font color=#FFFFFF>Orvanta @ Lumirune</font>";

} // namespace

std::string documentHead(const PageOptions &options)
{
    if (options.format != PageFormat::Html) return {};
    std::string head = "<html><head><title>Orvanta @ Lumirune</title></head><body bgcolor=#";
    head += options.blackBackground ? "000000" : "FFFFFF";
    head += "><font size=";
    head += options.fontSize;
    head += '>';
    head += kCrLf;
    if (options.insertPre) head += "<pre>";
    return head;
}

std::string documentTail(Tail tail, bool insertPre)
{
    std::string text = insertPre ? "</pre>" : "";
    if (tail == Tail::Abort) text += "<br>";
    text += kCredit;
    text += "</font></body></html>";
    text += kCrLf;
    return text;
}

DocumentWriter::~DocumentWriter()
{
    // A writer dropped without finish() keeps what was written, as a cut-off conversion does.
    try {
        close();
    } catch (const Failure &) {
    }
}

void DocumentWriter::fail(const char *what, const std::string &reason)
{
    discard();
    if (m_ownsFd && m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_open = false;
    m_failed = true;
    throw Failure(ErrorNumber::FileAccess, std::string(what) + " \"" + m_path + "\": " + reason, "DocumentWriter");
}

void DocumentWriter::start(PageFile &page, const PageOptions &options)
{
    close();
    m_path = page.path();
    m_device = page.device();
    m_inode = page.inode();
    m_piecesWritten = m_piecesAtOpen = 0;
    m_size = 0;
    m_failed = false;
    m_open = true;
    m_fd = page.release();
    m_ownsFd = true;
    append(documentHead(options));
    writeOut();
}

void DocumentWriter::startOn(int fd, const std::string &name, const PageOptions &options)
{
    close();
    m_path = name;
    m_fd = fd;
    m_ownsFd = false;
    m_piecesWritten = m_piecesAtOpen = 0;
    m_size = 0;
    m_failed = false;
    m_open = true;
    append(documentHead(options));
}

void DocumentWriter::flush()
{
    if (!m_open || m_used == 0) return;
    if (m_fd < 0) {
        m_fd = reopen();
        m_piecesAtOpen = m_piecesWritten;
    }
    writeOut();
}

void DocumentWriter::pause()
{
    flush();
    closePage();
}

// The page by name again, but only the very file this writer started: a link, a FIFO or another
// file put in its place fails. A page removed meanwhile is created anew, exclusively.
int DocumentWriter::reopen()
{
    const char *path = m_path.c_str();
    int fd = ::open(path, O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat info
    {
    };
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 && ::fstat(fd, &info) == 0) {
            m_device = info.st_dev;
            m_inode = info.st_ino;
            m_size = 0;
        }
    }
    if (fd < 0) fail("Cannot open", describeOpenError(m_path, errno));
    // The size as well: a file made in a removed page's place may be given its inode number.
    if (::fstat(fd, &info) != 0 || info.st_dev != m_device || info.st_ino != m_inode || info.st_size != m_size) {
        ::close(fd);
        fail("Cannot open", "no longer the page this conversion created");
    }
    return fd;
}

// write() rather than a stream: it tells how many bytes landed when the disk fills part-way.
void DocumentWriter::writeOut()
{
    // A stream (standard output) may be a file that others write too: where its end is now.
    const off_t start = m_ownsFd ? m_size : ::lseek(m_fd, 0, SEEK_END);
    std::size_t landed = 0;
    while (landed < m_used) {
        const ssize_t n = ::write(m_fd, m_buffer.get() + landed, m_used - landed);
        if (n > 0) {
            landed += std::size_t(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            const int error = n < 0 ? errno : ENOSPC;
            const char *what = "Cannot write";
            const std::size_t kept = lastPieceEnd(landed);
            if (landed > 0 && start >= 0 && ::ftruncate(m_fd, start + off_t(kept)) != 0)
                what = "Cannot write (and the page ends in a cut piece)";
            m_piecesWritten += std::upper_bound(m_ends.begin(), m_ends.end(), kept) - m_ends.begin();
            m_size = start + off_t(kept);
            fail(what, std::strerror(error));
        }
    }
    m_piecesWritten += int64_t(m_ends.size());
    m_size = start + off_t(m_used);
    discard();
}

// Closes the page, if this writer opened it. A page removed while it was open took what was
// written with it; a failed close may have lost it (NFS): nothing written since it was opened
// counts as written then.
void DocumentWriter::closePage()
{
    if (m_fd < 0 || !m_ownsFd) return; // a stream stays open
    const int fd = m_fd;
    m_fd = -1;
    struct stat info
    {
    };
    const bool removed = ::fstat(fd, &info) == 0 && info.st_nlink == 0;
    if (::close(fd) != 0 || removed) {
        const int error = errno;
        m_piecesWritten = m_piecesAtOpen;
        fail("Cannot write", removed ? "the page was removed while it was written" : std::strerror(error));
    }
}

// The end of the last piece that lies whole within the first limit bytes; 0 if none does.
std::size_t DocumentWriter::lastPieceEnd(std::size_t limit) const
{
    const auto after = std::upper_bound(m_ends.begin(), m_ends.end(), uint32_t(limit));
    return after == m_ends.begin() ? 0 : *(after - 1);
}

void DocumentWriter::discard()
{
    m_used = 0;
    m_ends.clear();
}

void DocumentWriter::makeRoom(std::size_t n)
{
    flush();
    if (m_capacity < n) {
        discard();
        m_buffer.reset(new char[n]);
        m_capacity = n;
    }
}

void DocumentWriter::append(std::string_view text)
{
    char *out = reserve(text.size());
    commit(std::copy(text.begin(), text.end(), out));
}

void DocumentWriter::finish(std::string_view tail)
{
    // Also after the scan closed the page: the tail is appended by name like any other write.
    m_open = true;
    append(tail);
    close();
}

void DocumentWriter::close()
{
    if (!m_open) return;
    pause();
    m_open = false;
}

} // namespace engine
