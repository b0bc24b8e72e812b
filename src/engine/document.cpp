// SPDX-License-Identifier: MIT
#include "document.h"

#include "failure.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

void DocumentWriter::fail(const char *what, int error)
{
    discard();
    m_open = false;
    throw Failure(ErrorNumber::FileAccess, std::string(what) + " \"" + m_path + "\": " + std::strerror(error),
                  "DocumentWriter");
}

void DocumentWriter::start(const std::string &path, const PageOptions &options)
{
    close();
    m_path = path;
    m_fd = -1;
    m_open = true;
    append(documentHead(options));
    writeOut(O_TRUNC, "Cannot create");
}

void DocumentWriter::startOn(int fd, const std::string &name, const PageOptions &options)
{
    close();
    m_path = name;
    m_fd = fd;
    m_open = true;
    append(documentHead(options));
}

void DocumentWriter::flush()
{
    if (m_open && m_used > 0) writeOut(O_APPEND, "Cannot open");
}

// write() rather than a stream: it tells how many bytes landed when the disk fills part-way.
void DocumentWriter::writeOut(int openFlags, const char *cannotOpen)
{
    const int fd = m_fd >= 0 ? m_fd : ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | openFlags, 0666);
    if (fd < 0) fail(cannotOpen, errno);
    const auto closeOwn = [&] { return fd == m_fd ? 0 : ::close(fd); };
    const off_t start = ::lseek(fd, 0, SEEK_END); // -1 for a pipe, which cannot be cut back
    std::size_t landed = 0;
    while (landed < m_used) {
        const ssize_t n = ::write(fd, m_buffer.get() + landed, m_used - landed);
        if (n > 0) {
            landed += std::size_t(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            const int error = n < 0 ? errno : ENOSPC;
            const char *what = "Cannot write";
            if (landed > 0 && start >= 0 && ::ftruncate(fd, start + off_t(lastPieceEnd(landed))) != 0)
                what = "Cannot write (and the page ends in a cut piece)";
            closeOwn();
            fail(what, error);
        }
    }
    discard();
    if (closeOwn() != 0) fail("Cannot write", errno);
}

std::size_t DocumentWriter::lastPieceEnd(std::size_t limit) const
{
    for (std::size_t word = limit / 64 + 1; word-- > 0;) {
        uint64_t ends = m_pieceEnds[word];
        if (word == limit / 64) ends &= ~uint64_t(0) >> (63 - limit % 64); // offsets up to limit only
        if (ends) return word * 64 + 63 - std::size_t(__builtin_clzll(ends));
    }
    return 0;
}

void DocumentWriter::discard()
{
    std::fill_n(m_pieceEnds.get(), m_used / 64 + 1, 0);
    m_used = 0;
}

void DocumentWriter::makeRoom(std::size_t n)
{
    flush();
    if (m_capacity < n) {
        discard();
        m_buffer.reset(new char[n]);
        m_pieceEnds.reset(new uint64_t[n / 64 + 1]());
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
    flush();
    m_open = false;
}

} // namespace engine
