// SPDX-License-Identifier: MIT
#include "document.h"

#include "failure.h"
#include "pagecommit.h"
#include "pageformat.h"
#include "styledpage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {

namespace {

std::string plainPageTail(Tail tail, bool insertPre)
{
    std::string text = insertPre ? "</pre>" : "";
    if (tail == Tail::Abort) text += "<br>";
    text += "<font color=#FFFFFF>";
    text += kPageCredit;
    text += "</font></font></body></html>";
    text += kCrLf;
    return text;
}

} // namespace

std::string documentHead(const PageOptions &options, int charsPerPixel)
{
    if (options.format != PageFormat::Html) return {};
    if (options.squarePixels) return squarePageHead(options, charsPerPixel);
    std::string head = "<html><head><title>";
    head += kPageCredit;
    head += "</title></head><body bgcolor=#";
    head += options.blackBackground ? "000000" : "FFFFFF";
    head += "><font size=";
    head += options.fontSize;
    head += '>';
    head += kCrLf;
    if (options.insertPre) head += "<pre>";
    return head;
}

std::string pageTail(const PageOptions &options, Tail tail, bool midRow)
{
    if (options.format != PageFormat::Html) return terminalTail(options.format, midRow);
    if (options.squarePixels) return squarePageTail(tail, options.insertPre, midRow);
    return plainPageTail(tail, options.insertPre);
}

struct DocumentWriter::Storage
{
    char bytes[kBufferLimit];
    uint32_t ends[kPieceLimit];
};

thread_local std::unique_ptr<DocumentWriter::Storage> DocumentWriter::t_spareStorage;

DocumentWriter::DocumentWriter()
    // Left uninitialised: a small page touches little of it.
    : m_storage(t_spareStorage ? std::move(t_spareStorage) : std::unique_ptr<Storage>(new Storage)),
      m_buffer(m_storage->bytes), m_ends(m_storage->ends)
{
}

DocumentWriter::~DocumentWriter()
{
    // A writer dropped without finish() keeps what was written, as a cut-off conversion does.
    try {
        close();
    } catch (const Failure &) {
    }
    if (!t_spareStorage) t_spareStorage = std::move(m_storage);
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
    throw Failure(ErrorNumber::FileAccess, std::string(what) + " \"" + m_name.path + "\": " + reason, "DocumentWriter");
}

void DocumentWriter::start(PageFile &page, std::string_view head)
{
    close();
    m_name = page.name();
    m_device = page.device();
    m_inode = page.inode();
    m_piecesWritten = m_piecesAtOpen = 0;
    m_size = 0;
    m_failed = false;
    m_open = true;
    m_fd = page.release();
    m_ownsFd = true;
    append(head);
    writeOut(true);
}

void DocumentWriter::startOn(int fd, const std::string &name, std::string_view head)
{
    close();
    m_name = PageName();
    m_name.path = name;
    m_fd = fd;
    m_ownsFd = false;
    m_piecesWritten = m_piecesAtOpen = 0;
    m_size = 0;
    m_failed = false;
    m_open = true;
    append(head);
}

void DocumentWriter::flush(bool whole)
{
    if (!m_open) return;
    if (m_used == 0) {
        // Only empty pieces wait: they are on disk as they are.
        m_piecesWritten += int64_t(m_pieces);
        m_pieces = 0;
        return;
    }
    if (m_fd < 0) {
        m_fd = reopen();
        m_piecesAtOpen = m_piecesWritten;
    }
    writeOut(whole);
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
    const std::string &writePath = m_name.writePath();
    const char *path = writePath.c_str();
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
    if (fd < 0) fail("Cannot open", describeOpenError(writePath, errno));
    // The size as well: a file made in a removed page's place may be given its inode number.
    if (::fstat(fd, &info) != 0 || info.st_dev != m_device || info.st_ino != m_inode || info.st_size != m_size) {
        ::close(fd);
        fail("Cannot open", "no longer the page this conversion created");
    }
    return fd;
}

// Writes the pending bytes: all of them, or (whole false, for a page this writer owns) those up to
// the last write bound, keeping the rest at the buffer's start.
// write() rather than a stream: it tells how many bytes landed when the disk fills part-way.
void DocumentWriter::writeOut(bool whole)
{
    // A stream (standard output) may be a file that others write too: where its end is now.
    const off_t start = m_ownsFd ? m_size : ::lseek(m_fd, 0, SEEK_END);
    std::size_t count = m_used;
    if (!whole && m_ownsFd) {
        const off_t bound = (start + off_t(m_used)) / kWriteBound * kWriteBound;
        if (bound <= start) return; // not up to the next bound: all of it later
        count = std::size_t(bound - start);
    }
    std::size_t landed = 0;
    while (landed < count) {
        const ssize_t n = ::write(m_fd, m_buffer + landed, count - landed);
        if (n > 0) {
            landed += std::size_t(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            const int error = n < 0 ? errno : ENOSPC;
            const char *what = "Cannot write";
            // Back to the end of the last whole piece, which may lie in an earlier write.
            const std::size_t kept = lastPieceEnd(landed);
            const off_t end = kept > 0 ? start + off_t(kept) : start - off_t(m_carried);
            if ((landed > 0 || m_carried > 0) && start >= 0 && ::ftruncate(m_fd, end) != 0)
                what = "Cannot write (and the page ends in a cut piece)";
            m_piecesWritten += std::upper_bound(m_ends, m_ends + m_pieces, kept) - m_ends;
            m_size = end;
            fail(what, std::strerror(error));
        }
    }
    m_size = start + off_t(count);
    const std::size_t done = std::size_t(std::upper_bound(m_ends, m_ends + m_pieces, uint32_t(count)) - m_ends);
    m_piecesWritten += int64_t(done);
    if (count == m_used) return discard();
    // The first piece left began before the bound: in this write, or in an earlier one.
    m_carried = done > 0 ? count - m_ends[done - 1] : m_carried + count;
    m_used -= count;
    std::memmove(m_buffer, m_buffer + count, m_used);
    m_pieces -= done;
    for (std::size_t i = 0; i < m_pieces; ++i)
        m_ends[i] = m_ends[done + i] - uint32_t(count);
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
    const uint32_t *const after = std::upper_bound(m_ends, m_ends + m_pieces, uint32_t(limit));
    return after == m_ends ? 0 : *(after - 1);
}

void DocumentWriter::discard()
{
    m_used = 0;
    m_carried = 0;
    m_pieces = 0;
}

void DocumentWriter::makeRoom(PieceBatch::Size size)
{
    const std::size_t n = size.bytes;
    flush(false);
    if (m_capacity - m_used < n || kPieceLimit - m_pieces < size.pieces) flush(true);
    if (m_capacity < n) {
        discard();
        m_large.reset(new char[n]);
        m_buffer = m_large.get();
        m_capacity = n;
    }
}

void DocumentWriter::append(std::string_view text)
{
    PieceBatch batch = reservePieces({text.size(), 1});
    batch.endPiece(std::copy(text.begin(), text.end(), batch.out()));
    commit(batch);
}

void DocumentWriter::finish(std::string_view tail)
{
    // Also after the scan closed the page: the tail is appended by name like any other write.
    m_open = true;
    append(tail);
    close();
    takeName();
}

// A page written under a temporary name takes its own now that it is whole.
void DocumentWriter::takeName()
{
    if (m_name.temporary.empty()) return;
    std::string error;
    if (!commitPage(m_name, m_device, m_inode, error)) fail("Cannot write", error);
    m_name.temporary.clear();
}

void DocumentWriter::close()
{
    if (!m_open) return;
    pause();
    m_open = false;
}

} // namespace engine
