#pragma once
// Reading a text file's lines: a fixed buffer of bytes, lines split at CR LF on the bytes,
// code page 932 decoding only where a line is wanted.
//
// A line ends at CR LF only and is given without it; a lone CR or LF is an ordinary
// character; nothing is trimmed. A last line without CR LF is a line; a zero-byte file
// has none. CR LF can be split on before decoding: neither byte is ever a trail byte.
// Memory holds the buffer and the current line's decoded characters, whatever the size
// of the file or the length of a line.
#include "cp932.h"
#include "text_file.h"
#include <QStringView>
#include <cstring>
#include <string>
#include <vector>

namespace search {

inline constexpr qsizetype default_read_buffer = 256 * 1024;

// CR LF pairs that lie wholly in [data, data + size).
qint64 count_crlf(const char *data, qsizetype size);

// The offset of the CR of the first CR LF pair wholly in [data, data + size), or -1.
qsizetype find_crlf(const char *data, qsizetype size);

// The offset just past the last CR LF pair wholly in [data, data + size), or 0.
qsizetype end_of_last_crlf(const char *data, qsizetype size);

// One buffer over a file's bytes.
class ReadBuffer {
public:
    explicit ReadBuffer(TextFile &file, qsizetype capacity = default_read_buffer);

    const char *data() const { return m_bytes.data(); }
    qsizetype size() const { return m_size; }          // bytes held, from data()
    qsizetype capacity() const { return qsizetype(m_bytes.size()); }
    bool at_end() const { return m_at_end; }           // no byte will come after these
    bool failed() const { return m_failed; }           // a read failed (the file then reads as ended)

    // Drops the first `consumed` bytes, moves the rest to the front and reads after them
    // until the buffer is full or the file ends.
    void refill(qsizetype consumed);

private:
    TextFile &m_file;
    std::vector<char> m_bytes;   // capacity bytes; [0, m_size) hold file bytes in order
    qsizetype m_size = 0;
    bool m_at_end = false;
    bool m_failed = false;
};

class LineReader {
public:
    static constexpr qsizetype no_limit = -1;

    explicit LineReader(TextFile &file, qsizetype buffer_capacity = default_read_buffer);

    // Reads the next line and decodes at most `max_chars` of its characters; the rest of
    // a longer line is read past without decoding, and line_cut() tells. False when the
    // file has no further line.
    bool next_line(qsizetype max_chars = no_limit);
    QStringView line() const
    {
        return QStringView(m_line.data(), qsizetype(m_line.size()));
    }
    bool line_cut() const { return m_cut; }

    // Reads past the next line without decoding it. False when there is none.
    bool skip_line();

    // Reads past up to `count` lines, only counting CR LF pairs; gives how many lines
    // there were (fewer at the end of the file).
    qint64 skip_lines(qint64 count);

    // Hands the next line's bytes to `piece(const char *, qsizetype)` in order: one piece
    // when the line fits in the buffer, several for a longer one. False when there is
    // no further line.
    template <typename Piece>
    bool walk_line(Piece &&piece);

    bool failed() const { return m_buffer.failed(); }

    // The buffer and the start of the next line in it, for readers of their own (the
    // search scans the buffer directly and hands long lines back to walk_line).
    ReadBuffer &buffer() { return m_buffer; }
    qsizetype position() const { return m_pos; }
    void set_position(qsizetype pos) { m_pos = pos; }

private:
    ReadBuffer m_buffer;
    qsizetype m_pos = 0;          // start of the next line in the buffer
    std::u16string m_line;        // the current line's decoded characters; capacity kept
    cp932::StreamDecoder m_decoder;
    bool m_cut = false;
};

template <typename Piece>
bool LineReader::walk_line(Piece &&piece)
{
    if (m_pos >= m_buffer.size()) {
        if (m_buffer.at_end())
            return false;
        m_buffer.refill(m_pos);
        m_pos = 0;
        if (m_buffer.size() == 0)
            return false;
    }
    qsizetype scan = m_pos;   // no CR LF pair starts in [m_pos, scan)
    for (;;) {
        const char *d = m_buffer.data();
        const qsizetype size = m_buffer.size();
        const qsizetype cr = find_crlf(d + scan, size - scan);
        if (cr >= 0) {
            piece(d + m_pos, scan + cr - m_pos);
            m_pos = scan + cr + 2;
            return true;
        }
        if (m_buffer.at_end()) {
            piece(d + m_pos, size - m_pos);
            m_pos = size;
            return true;
        }
        // A CR at the very end may pair with the next buffer's first byte: keep it.
        const qsizetype keep = size > m_pos && d[size - 1] == '\r' ? size - 1 : size;
        if (m_pos == 0 && size == m_buffer.capacity()) {
            // The line fills the buffer: hand out its front and read on.
            piece(d, keep);
            m_buffer.refill(keep);
            scan = 0;
            continue;
        }
        scan = keep - m_pos;
        m_buffer.refill(m_pos);
        m_pos = 0;
    }
}

}  // namespace search
