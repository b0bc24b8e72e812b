// SPDX-License-Identifier: MIT
#pragma once

#include "pagefile.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// The font sizes offered, largest first.
inline constexpr std::array<std::string_view, 7> kFontSizes{"7", "6", "5", "4", "3", "2", "1"};
inline constexpr std::string_view kDefaultFontSize = "1";

enum class Tail { Completion, Abort };

// Html is the page of the window; Ansi and Text are for terminals and plain text files.
enum class PageFormat { Html, Ansi, Text };

struct PageOptions
{
    bool blackBackground = true;
    std::string fontSize = std::string(kDefaultFontSize); // written as it stands in the font size box
    bool insertPre = true;
    PageFormat format = PageFormat::Html;
};

// The head line of a page with its CR LF, then "<pre>" when asked for; nothing for a terminal page.
std::string documentHead(const PageOptions &options);
// The closing text of a page: the completion tail follows a row end; the abort tail starts with
// "<br>" because an aborted page may stop in the middle of a row.
std::string documentTail(Tail tail, bool insertPre);

// Writes one output page: the head, the pixel pieces, then exactly one tail. Bytes are written
// as given (Windows-1252 text). Pieces are buffered; flush() makes the file on disk complete up to
// the last piece. The page stays open while the scan runs alone and is closed by pause() wherever
// control leaves the scan, so nothing of it stays open while events run; the next write opens it
// by name again.
// Every failure to create or write the file throws Failure (FileAccess); a write that stops part-way
// (disk full, file size limit) cuts the file back to the last whole piece that landed.
class DocumentWriter
{
public:
    // Large enough that a write costs little per byte, small enough that a converter's process
    // faults in few pages of it.
    static constexpr std::size_t kBufferLimit = 256 * 1024;

    DocumentWriter() = default;
    ~DocumentWriter();
    DocumentWriter(const DocumentWriter &) = delete;
    DocumentWriter &operator=(const DocumentWriter &) = delete;

    // Writes the head into the claimed page and closes it (page keeps saying which file it was).
    void start(PageFile &page, const PageOptions &options);
    // Writes the page to an open descriptor instead (standard output), which stays open; name is
    // what failures call it.
    void startOn(int fd, const std::string &name, const PageOptions &options);
    void append(std::string_view text);
    // Room for up to n bytes at the returned pointer; commit() then takes what was written as one
    // piece. Writing in place saves copying every piece twice.
    char *reserve(std::size_t n)
    {
        if (m_capacity - m_used < n || m_ends.size() >= kPieceLimit) makeRoom(n);
        return m_buffer.get() + m_used;
    }
    void commit(const char *end)
    {
        m_used = std::size_t(end - m_buffer.get());
        m_ends.push_back(uint32_t(m_used));
    }
    // commit() for n pieces written one after another at start, the i-th ending at start + ends[i].
    void commitPieces(const char *start, const uint32_t *ends, std::size_t n)
    {
        const auto base = uint32_t(start - m_buffer.get());
        const std::size_t first = m_ends.size();
        m_ends.resize(first + n);
        for (std::size_t i = 0; i < n; ++i)
            m_ends[first + i] = base + ends[i];
        if (n > 0) m_used = m_ends.back();
    }
    // Appends buffered pieces to the page. A page closed by pause() is opened by name again, as a
    // writer that opened it per piece would: a removed page is created again (exclusively), a
    // folder that is gone or read-only fails, and so does a name that now holds another file, a
    // link or anything else.
    void flush();
    // Flushes and closes the page: control is about to leave the scan.
    void pause();
    // Appends the tail and closes the file; the page is finished.
    void finish(std::string_view tail);
    // Writes what is buffered and closes the file without a tail.
    void close();

    // Pieces that reached the disk whole, the head counting as one.
    int64_t piecesWritten() const { return m_piecesWritten; }
    // A write failed since start(); the page ends after piecesWritten() pieces.
    bool failed() const { return m_failed; }

private:
    [[noreturn]] void fail(const char *what, const std::string &reason);
    int reopen();
    void writeOut();
    void closePage();
    std::size_t lastPieceEnd(std::size_t limit) const;
    void discard();
    void makeRoom(std::size_t n);

    std::string m_path;
    int m_fd = -1;              // the page while it is open
    bool m_ownsFd = false;      // false for a stream, which stays open
    int64_t m_piecesAtOpen = 0; // a failed close loses what was written since the page was opened
    dev_t m_device = 0;         // the file this writer created or was given
    ino_t m_inode = 0;
    off_t m_size = 0; // what the page holds after the last write
    int64_t m_piecesWritten = 0;
    bool m_failed = false;
    bool m_open = false; // started and neither finished nor closed
    // Bytes 0..m_used are pending. Left uninitialised: a small page touches little of it.
    std::unique_ptr<char[]> m_buffer{new char[kBufferLimit]};
    std::size_t m_capacity = kBufferLimit;
    std::size_t m_used = 0;
    // Where each pending piece ends in the buffer, in order. Pieces may be empty (no characters,
    // no new run), so their number is bounded apart from the bytes.
    static constexpr std::size_t kPieceLimit = 65536;
    std::vector<uint32_t> m_ends;
};

} // namespace engine
