#include "search.h"

#include "cp932.h"
#include "file_path.h"
#include "line_reader.h"

#include <algorithm>
#include <cstring>

namespace search {

namespace {

// Tests one line's characters for the phrase as they are decoded, piece by piece, holding
// only the last phrase-length - 1 characters of what came before.
class LineMatcher {
public:
    explicit LineMatcher(QStringView phrase) : m_phrase(phrase) {}

    void start()
    {
        m_chars.clear();
        m_decoder.reset();
        m_hit = false;
    }

    void feed(const char *p, qsizetype n)
    {
        if (m_hit || n == 0)
            return;
        m_decoder.feed(p, n, m_chars);
        test_and_trim();
    }

    // Ends the line; gives whether it holds the phrase.
    bool finish()
    {
        if (!m_hit) {
            m_decoder.finish(m_chars);
            test_and_trim();
        }
        return m_hit;
    }

    // The whole line in one piece, the common case.
    bool test_line(const char *p, qsizetype n)
    {
        m_chars.clear();
        cp932::decode_append(p, n, m_chars);
        return QStringView(m_chars.data(), qsizetype(m_chars.size())).contains(m_phrase);
    }

private:
    void test_and_trim()
    {
        const QStringView have(m_chars.data(), qsizetype(m_chars.size()));
        if (have.contains(m_phrase)) {
            m_hit = true;
            return;
        }
        // An occurrence that the next piece completes starts in the last length - 1 characters.
        const size_t keep = size_t(std::max<qsizetype>(m_phrase.size() - 1, 0));
        if (m_chars.size() > keep)
            m_chars.erase(0, m_chars.size() - keep);
    }

    QStringView m_phrase;
    std::u16string m_chars;   // decoded characters not yet ruled out; capacity kept across lines
    cp932::StreamDecoder m_decoder;
    bool m_hit = false;
};

struct Counts {
    qint64 lines = 0;
    bool any_hit = false;
};

// Decodes every line and tests it.
void decode_every_line(LineReader &reader, QStringView phrase, const LineSink &on_hit, Counts &c)
{
    LineMatcher matcher(phrase);
    for (;;) {
        bool hit = false;
        qint64 bytes = 0;
        matcher.start();
        const bool found = reader.walk_line([&](const char *p, qsizetype n) {
            bytes += n;
            if (!phrase.isEmpty())
                matcher.feed(p, n);
        });
        if (!found)
            return;
        if (phrase.isEmpty())
            hit = bytes > 0;   // the empty phrase stands at the start of every line that has one
        else
            hit = matcher.finish();
        ++c.lines;
        if (hit) {
            c.any_hit = true;
            on_hit(c.lines);
        }
    }
}

// Only counts the lines: a phrase that no byte sequence decodes to is in none of them.
void count_lines(ReadBuffer &buffer, qsizetype pos, Counts &c)
{
    bool any = false;
    char last[2] = {0, 0};   // the last two bytes of the file so far
    bool cr_before = false;
    for (;;) {
        const char *d = buffer.data() + pos;
        const qsizetype n = buffer.size() - pos;
        if (n > 0) {
            any = true;
            c.lines += count_crlf(d, n) + (cr_before && d[0] == '\n');
            last[0] = n >= 2 ? d[n - 2] : last[1];
            last[1] = d[n - 1];
            cr_before = last[1] == '\r';
        }
        if (buffer.at_end())
            break;
        buffer.refill(buffer.size());
        pos = 0;
    }
    // A last line without CR LF is a line.
    if (any && !(last[0] == '\r' && last[1] == '\n'))
        ++c.lines;
}

// Looks for the phrase's bytes over the whole buffer, counts CR LF only up to each
// candidate, and decodes only the line that holds it. Correct only when each character
// of the phrase has exactly one encoding and none is U+FFFD: then a decoded line holds
// the phrase only where its bytes hold `bytes`.
void search_bytes(LineReader &reader, QStringView phrase, const QByteArray &bytes,
                  const LineSink &on_hit, Counts &c)
{
    ReadBuffer &buffer = reader.buffer();
    LineMatcher matcher(phrase);
    const qsizetype plen = bytes.size();
    qsizetype pos = reader.position();   // start of the current line; a character boundary
    qsizetype scan = pos;                // no candidate starts in [pos, scan)

    const cp932::Table &table = cp932::Table::get();
    std::u16string candidate;

    // The current line is longer than half the buffer, so its start cannot be kept for
    // decoding a later candidate. The byte search goes on over the line; instead of its
    // start, a known character boundary `sync` is kept. A candidate is a hit when it
    // starts on a character boundary: found by stepping character by character from the
    // last boundary before it (a byte that is never a trail byte is one; so is `sync`).
    // On entry there is no CR LF pair in [pos, size).
    auto giant_line = [&] {
        qsizetype sync = pos;
        qsizetype line_scan = std::max(pos, buffer.size() - 1);   // no pair starts before it
        bool hit = false;
        // The first character boundary at or after `target`, stepping from `from`
        // (a boundary). Needs the byte after every lead byte before `target`.
        auto step_to = [&](const char *d, qsizetype from, qsizetype target) {
            if (target <= from)
                return from;   // a step to `from` passed over `target`: no boundary there
            qsizetype q = target;
            while (q > from && !table.never_trail(uchar(d[q])))
                --q;
            while (q < target) {
                const auto b = uchar(d[q]);
                q += table.is_lead(b) && table.pair(b, uchar(d[q + 1])) ? 2 : 1;
            }
            return q;
        };
        for (;;) {
            const char *d = buffer.data();
            const qsizetype size = buffer.size();
            const qsizetype cr = find_crlf(d + line_scan, size - line_scan);
            const qsizetype line_end = cr >= 0 ? line_scan + cr : buffer.at_end() ? size : -1;
            // A CR at the very end may be the line end's: no candidate may hold it yet.
            const qsizetype limit = line_end >= 0 ? line_end : size - (d[size - 1] == '\r');
            while (!hit && scan + plen <= limit) {
                const void *found = memmem(d + scan, size_t(limit - scan), bytes.constData(), size_t(plen));
                if (!found)
                    break;
                const qsizetype at = static_cast<const char *>(found) - d;
                sync = step_to(d, sync, at);
                if (sync == at) {
                    candidate.clear();
                    cp932::decode_append(d + at, plen, candidate);
                    hit = QStringView(candidate.data(), qsizetype(candidate.size())) == phrase;
                }
                scan = at + 1;
            }
            if (line_end >= 0) {
                ++c.lines;
                if (hit) {
                    c.any_hit = true;
                    on_hit(c.lines);
                }
                pos = scan = line_end == size ? size : line_end + 2;
                return;
            }
            // Keep what a later candidate or line end may start in, and a boundary there.
            const qsizetype keep = std::min(limit - (plen - 1), size - 1);
            if (!hit && sync < keep)
                sync = step_to(d, sync, keep);
            const qsizetype drop = hit ? keep : std::min(keep, sync);
            buffer.refill(drop);
            sync = std::max<qsizetype>(sync - drop, 0);
            scan = std::max<qsizetype>(scan - drop, 0);
            line_scan = size - 1 - drop;
        }
    };

    for (;;) {
        const char *d = buffer.data();
        const qsizetype size = buffer.size();
        if (pos >= size && buffer.at_end())
            return;
        const void *found = scan + plen <= size
            ? memmem(d + scan, size_t(size - scan), bytes.constData(), size_t(plen))
            : nullptr;
        if (found) {
            const qsizetype hit = static_cast<const char *>(found) - d;
            // Lines that end before the candidate: pairs whose LF is at `hit` at the latest.
            const qsizetype span = hit + 1 - pos;
            c.lines += count_crlf(d + pos, span);
            pos += end_of_last_crlf(d + pos, span);
            if (pos > hit) {   // the candidate starts with the LF of a line end
                scan = pos;
                continue;
            }
            const qsizetype cr = find_crlf(d + hit, size - hit);
            qsizetype end;
            if (cr >= 0) {
                end = hit + cr;
            } else if (buffer.at_end()) {
                end = size;
            } else if (size - pos > buffer.capacity() / 2) {
                giant_line();
                continue;
            } else {
                buffer.refill(pos);   // keep the line's start for the decode
                scan = hit - pos;
                pos = 0;
                continue;
            }
            ++c.lines;
            if (matcher.test_line(d + pos, end - pos)) {
                c.any_hit = true;
                on_hit(c.lines);
            }
            if (end == size)
                return;   // the last line, without CR LF
            pos = scan = end + 2;
            continue;
        }
        // No candidate in the buffer: count its whole lines and keep the rest.
        c.lines += count_crlf(d + pos, size - pos);
        pos += end_of_last_crlf(d + pos, size - pos);
        if (buffer.at_end()) {
            if (pos < size)
                ++c.lines;   // the last line, without CR LF
            return;
        }
        if (size - pos > buffer.capacity() / 2) {
            giant_line();
            continue;
        }
        // A candidate may start in the last plen - 1 bytes and end in the next read.
        const qsizetype resume = std::max(pos, size - (plen - 1));
        buffer.refill(pos);
        scan = resume - pos;
        pos = 0;
    }
}

}  // namespace

FileSearchResult search_text_file(TextFile &file, const QString &phrase, const LineSink &on_hit,
                                  const SearchTuning &tuning)
{
    FileSearchResult result;
    result.opened = true;
    qsizetype capacity = tuning.buffer_size > 0 ? tuning.buffer_size : default_read_buffer;
    // The buffer keeps a phrase's length of bytes between reads: it must hold several.
    capacity = std::max(capacity, 4 * phrase.size() + 16);
    LineReader reader(file, capacity);
    Counts counts;
    if (phrase.isEmpty()) {
        decode_every_line(reader, phrase, on_hit, counts);
    } else {
        const cp932::EncodedPhrase encoded = cp932::encode_phrase(phrase);
        if (encoded.kind == cp932::PhraseBytes::Impossible) {
            count_lines(reader.buffer(), 0, counts);
        } else if (encoded.kind == cp932::PhraseBytes::Unique
                   && tuning.line_test == LineTest::Shortcut) {
            search_bytes(reader, phrase, encoded.bytes, on_hit, counts);
        } else {
            decode_every_line(reader, phrase, on_hit, counts);
        }
    }
    result.lines = counts.lines;
    result.read_error = reader.failed();
    // A read error before the first line is still a file that could not be read.
    result.not_found = !counts.any_hit && (counts.lines > 0 || result.read_error);
    return result;
}

FileSearchResult search_file(const DriveMap &drives, const QString &folder, const QString &name,
                             const QString &phrase, const LineSink &on_hit)
{
    std::optional<TextFile> file = TextFile::open(drives, join_path(folder, name));
    if (!file) {
        FileSearchResult result;
        result.not_found = true;
        return result;
    }
    return search_text_file(*file, phrase, on_hit);
}

FolderOutcome search_folder(const DriveMap &drives, const QString &folder, const QStringList &names,
                            const QString &phrase, const FolderSink &on_hit)
{
    if (phrase.isEmpty())
        return FolderOutcome::NoPhrase;
    bool any_hit = false;
    for (qsizetype i = 0; i < names.size(); ++i) {
        search_file(drives, folder, names.at(i), phrase, [&](qint64 line) {
            any_hit = true;
            on_hit(i, line);
        });
    }
    return names.isEmpty() || any_hit ? FolderOutcome::Finished : FolderOutcome::NothingFound;
}

}  // namespace search
