// SPDX-License-Identifier: MIT
#include "document.h"

#include "failure.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace engine {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kCredit = "<font color=#FFFFFF>Orvanta @ Lumirune</font>";

} // namespace

std::string documentHead(const PageOptions &options)
{
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
    if (m_file) {
        std::fwrite(m_buffer.get(), 1, m_used, m_file);
        std::fclose(m_file);
    }
}

void DocumentWriter::fail(const char *what)
{
    const std::string reason = std::strerror(errno);
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_used = 0;
    throw Failure(ErrorNumber::FileAccess, std::string(what) + " \"" + m_path + "\": " + reason, "DocumentWriter");
}

void DocumentWriter::start(const std::string &path, const PageOptions &options)
{
    close();
    m_path = path;
    m_used = 0;
    append(documentHead(options));
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file) fail("Cannot create");
    flush();
}

void DocumentWriter::reopenIfMoved()
{
    struct stat onDisk
    {
    };
    struct stat open
    {
    };
    const bool same = ::stat(m_path.c_str(), &onDisk) == 0 && ::fstat(fileno(m_file), &open) == 0 &&
                      onDisk.st_dev == open.st_dev && onDisk.st_ino == open.st_ino;
    if (same) return;
    std::fclose(m_file);
    m_file = std::fopen(m_path.c_str(), "ab");
    if (!m_file) fail("Cannot open");
}

void DocumentWriter::flush()
{
    if (!m_file) return;
    reopenIfMoved();
    if (std::fwrite(m_buffer.get(), 1, m_used, m_file) != m_used || std::fflush(m_file) != 0) fail("Cannot write");
    m_used = 0;
}

void DocumentWriter::makeRoom(std::size_t n)
{
    flush();
    if (m_capacity < n) {
        m_buffer.reset(new char[n]);
        m_capacity = n;
    }
}

void DocumentWriter::append(std::string_view text)
{
    char *out = reserve(text.size());
    commit(std::copy(text.begin(), text.end(), out));
}

void DocumentWriter::finish(Tail tail, bool insertPre)
{
    if (!m_file) {
        // Nothing open (the scan already closed it): append by name like any other write.
        m_file = std::fopen(m_path.c_str(), "ab");
        if (!m_file) fail("Cannot open");
    }
    append(documentTail(tail, insertPre));
    close();
}

void DocumentWriter::close()
{
    if (!m_file) return;
    flush();
    const int closed = std::fclose(m_file);
    m_file = nullptr;
    if (closed != 0) fail("Cannot write");
}

} // namespace engine
