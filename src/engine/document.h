// SPDX-License-Identifier: MIT
#pragma once

#include "colordepth.h"
#include "pagefile.h"

#include <array>
#include <cstdint>
#include <cstdlib>
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
    ColorDepth colorDepth = ColorDepth::Full; // of an Ansi page
    // Each cell's background the pixel's colour and its characters a shade of it (HTML, Ansi).
    bool fillCells = false;
    // An HTML5 page whose style sheet draws each pixel square.
    bool squarePixels = false;
};

// What every HTML page is titled and signed with, and its line end.
inline constexpr std::string_view kPageCredit = "Orvanta @ Lumirune";
inline constexpr std::string_view kCrLf = "\r\n";

// The head line of a page with its CR LF, then "<pre>" when asked for; nothing for a terminal page.
// A square page sizes its cells for pixels of charsPerPixel characters.
std::string documentHead(const PageOptions &options, int charsPerPixel);
// The closing text of a page: the completion tail follows a row end; the abort tail of an HTML page
// starts with "<br>" because an aborted page may stop in the middle of a row (midRow: it did).
std::string pageTail(const PageOptions &options, Tail tail, bool midRow);

// Whole pieces written in place into a page writer's buffer: each is written from out() and ended
// with endPiece(), one after another; DocumentWriter::commit() then takes the ended ones. The
// batch reaches no more of the buffer than the room it was given, and the writer keeps its own
// books: which pieces wait and where each ends.
class PieceBatch
{
public:
    struct Size
    {
        std::size_t bytes;
        std::size_t pieces;
    };
    char *out() const { return m_out; }
    void endPiece(char *end)
    {
        m_ends[m_count++] = uint32_t(end - m_base);
        m_out = end;
    }

private:
    friend class DocumentWriter;
    PieceBatch(char *at, const char *base, uint32_t *ends, Size size)
        : m_out(at), m_base(base), m_ends(ends), m_size(size)
    {
    }
    char *m_out;
    const char *m_base; // where the writer's piece ends are counted from
    uint32_t *m_ends;
    Size m_size;
    std::size_t m_count = 0;
};

// Writes one output page: the head, the pixel pieces, then exactly one tail. Bytes are written
// as given (the pieces are already in the page's encoding). Pieces are buffered; flush() makes the file on disk
// complete up to the last piece. The page stays open while the scan runs alone and is closed by pause() wherever
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
    // A full buffer is written up to a multiple of this in the file, the rest kept for the next
    // write: the page cache takes writes that start and end on such bounds in large folios, which
    // made writing a page a fifth cheaper.
    static constexpr off_t kWriteBound = 64 * 1024;

    DocumentWriter();
    ~DocumentWriter();
    DocumentWriter(const DocumentWriter &) = delete;
    DocumentWriter &operator=(const DocumentWriter &) = delete;

    // Writes the head into the claimed page and closes it (page keeps saying which file it was).
    void start(PageFile &page, std::string_view head);
    // Writes the page to an open descriptor instead (standard output), which stays open; name is
    // what failures call it.
    void startOn(int fd, const std::string &name, std::string_view head);
    void append(std::string_view text);
    // Room for whole pieces in the buffer; commit() then takes the pieces the batch ended.
    // Writing in place saves copying every piece twice.
    PieceBatch reservePieces(PieceBatch::Size size)
    {
        if (m_capacity - m_used < size.bytes || kPieceLimit - m_pieces < size.pieces) makeRoom(size);
        return PieceBatch(m_buffer + m_used, m_buffer, m_ends + m_pieces, size);
    }
    void commit(const PieceBatch &batch)
    {
        // An overrun has already written past what the buffer holds for certain: nothing to save.
        if (batch.m_count > batch.m_size.pieces || std::size_t(batch.m_out - (m_buffer + m_used)) > batch.m_size.bytes)
            std::abort();
        m_pieces += batch.m_count;
        if (batch.m_count > 0) m_used = m_ends[m_pieces - 1];
    }
    // Appends buffered pieces to the page. A page closed by pause() is opened by name again, as a
    // writer that opened it per piece would: a removed page is created again (exclusively), a
    // folder that is gone or read-only fails, and so does a name that now holds another file, a
    // link or anything else.
    void flush() { flush(true); }
    // Flushes and closes the page: control is about to leave the scan.
    void pause();
    // Appends the tail and closes the file; the page is finished and, if it was written under a
    // temporary name, takes its own.
    void finish(std::string_view tail);
    // Writes what is buffered and closes the file without a tail.
    void close();

    // Pieces that reached the disk whole, the head counting as one.
    int64_t piecesWritten() const { return m_piecesWritten; }
    // A write failed since start(); the page ends after piecesWritten() pieces.
    bool failed() const { return m_failed; }

private:
    [[noreturn]] void fail(const char *what, const std::string &reason);
    struct Storage;
    void flush(bool whole);
    int reopen();
    void writeOut(bool whole);
    void closePage();
    std::size_t lastPieceEnd(std::size_t limit) const;
    void discard();
    void makeRoom(PieceBatch::Size size);

    void takeName();

    PageName m_name;            // what messages call the page, where it is written, and where it goes when whole
    int m_fd = -1;              // the page while it is open
    bool m_ownsFd = false;      // false for a stream, which stays open
    int64_t m_piecesAtOpen = 0; // a failed close loses what was written since the page was opened
    dev_t m_device = 0;         // the file this writer created or was given
    ino_t m_inode = 0;
    off_t m_size = 0; // what the page holds after the last write
    int64_t m_piecesWritten = 0;
    bool m_failed = false;
    bool m_open = false; // started and neither finished nor closed
    // The buffer and the piece ends, taken over from the last writer the thread finished: fresh
    // memory costs a page fault per 4 KiB the scan touches.
    std::unique_ptr<Storage> m_storage;
    static thread_local std::unique_ptr<Storage> t_spareStorage; // the one a finished writer left
    std::unique_ptr<char[]> m_large; // the buffer instead, once a text longer than it was written
    // Bytes 0..m_used are pending. The file's last m_carried bytes begin the first pending piece,
    // which a write bound cut (see kWriteBound).
    char *m_buffer = nullptr;
    std::size_t m_capacity = kBufferLimit;
    std::size_t m_used = 0;
    std::size_t m_carried = 0;
    // Where each pending piece ends in the buffer, in order. Pieces may be empty (no characters,
    // no new run), so their number is bounded apart from the bytes.
    static constexpr std::size_t kPieceLimit = 65536;
    uint32_t *m_ends = nullptr;
    std::size_t m_pieces = 0;
};

} // namespace engine
