// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace engine {

enum class Tail { Completion, Abort };

struct PageOptions
{
    bool blackBackground = true;
    std::string fontSize = "1"; // written as it stands in the font size box
    bool insertPre = true;
};

// The head line of a page with its CR LF, then "<pre>" when asked for.
std::string documentHead(const PageOptions &options);
// The closing text of a page: the completion tail follows a row end; the abort tail starts with
// "<br>" because an aborted page may stop in the middle of a row.
std::string documentTail(Tail tail, bool insertPre);

// Writes one output page: the head, the pixel pieces, then exactly one tail. Bytes are written
// as given (Windows-1252 text). Pieces are buffered; flush() makes the file on disk complete up to
// the last piece, and callers flush wherever control leaves the scan.
// Every failure to create or write the file throws Failure (FileAccess).
class DocumentWriter
{
public:
    static constexpr std::size_t kBufferLimit = 1024 * 1024;

    DocumentWriter() = default;
    ~DocumentWriter();
    DocumentWriter(const DocumentWriter &) = delete;
    DocumentWriter &operator=(const DocumentWriter &) = delete;

    // Creates the file (an existing one is truncated) and writes the head.
    void start(const std::string &path, const PageOptions &options);
    void append(std::string_view text);
    // Room for up to n bytes at the returned pointer; commit() then takes what was written.
    // Writing in place saves copying every piece twice.
    char *reserve(std::size_t n)
    {
        if (m_capacity - m_used < n) makeRoom(n);
        return m_buffer.get() + m_used;
    }
    void commit(const char *end) { m_used = end - m_buffer.get(); }
    // Writes buffered pieces through. If the file was removed or replaced meanwhile, it is opened
    // again by name for appending, as a writer that opened it per piece would.
    void flush();
    // Appends the tail and closes the file; the page is finished.
    void finish(Tail tail, bool insertPre);
    // Writes what is buffered and closes the file without a tail.
    void close();

private:
    [[noreturn]] void fail(const char *what);
    void reopenIfMoved();
    void makeRoom(std::size_t n);

    std::FILE *m_file = nullptr;
    std::string m_path;
    // Bytes 0..m_used are pending. Left uninitialised: a small page touches little of it.
    std::unique_ptr<char[]> m_buffer{new char[kBufferLimit]};
    std::size_t m_capacity = kBufferLimit;
    std::size_t m_used = 0;
};

} // namespace engine
