#include "line_reader.h"

#include <algorithm>
#include <emmintrin.h>

namespace search {

qint64 count_crlf(const char *data, qsizetype size)
{
    qint64 count = 0;
    qsizetype i = 0;
    // Sixteen positions at a time: a CR in one lane, an LF in the same lane one byte on.
    // Each lane counts its pairs in a byte (0xFF per match, subtracted), summed before a
    // lane can overflow; no per-block popcount, which the base instruction set lacks.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    while (i + 17 <= size) {
        __m128i lanes = zero;
        for (int round = 0; round < 255 && i + 17 <= size; ++round, i += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i + 1));
            lanes = _mm_sub_epi8(lanes, _mm_and_si128(_mm_cmpeq_epi8(a, cr), _mm_cmpeq_epi8(b, lf)));
        }
        const __m128i sums = _mm_sad_epu8(lanes, zero);
        count += _mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums));
    }
    for (; i + 1 < size; ++i)
        count += data[i] == '\r' && data[i + 1] == '\n';
    return count;
}

qsizetype find_crlf(const char *data, qsizetype size)
{
    const char *p = data;
    const char *end = data + size;
    while (p < end) {
        const auto *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        if (!lf)
            return -1;
        if (lf > data && lf[-1] == '\r')
            return lf - 1 - data;
        p = lf + 1;
    }
    return -1;
}

qsizetype end_of_last_crlf(const char *data, qsizetype size)
{
    qsizetype n = size;
    while (n > 1) {
        const auto *lf = static_cast<const char *>(memrchr(data + 1, '\n', size_t(n - 1)));
        if (!lf)
            return 0;
        if (lf[-1] == '\r')
            return lf + 1 - data;
        n = lf - data;   // look before this LF
    }
    return 0;
}

ReadBuffer::ReadBuffer(TextFile &file, qsizetype capacity)
    : m_file(file), m_bytes(size_t(std::max<qsizetype>(capacity, 16)))
{
}

void ReadBuffer::refill(qsizetype consumed)
{
    consumed = std::clamp<qsizetype>(consumed, 0, m_size);
    if (consumed > 0) {
        std::memmove(m_bytes.data(), m_bytes.data() + consumed, size_t(m_size - consumed));
        m_size -= consumed;
    }
    while (!m_at_end && m_size < capacity()) {
        const qint64 n = m_file.read(m_bytes.data() + m_size, capacity() - m_size);
        if (n < 0)
            m_failed = true;
        if (n <= 0)
            m_at_end = true;
        else
            m_size += qsizetype(n);
    }
}

LineReader::LineReader(TextFile &file, qsizetype buffer_capacity)
    : m_buffer(file, buffer_capacity)
{
}

bool LineReader::next_line(qsizetype max_chars)
{
    m_line.clear();
    m_cut = false;
    m_decoder.reset();
    bool skipped = false;
    const size_t limit = max_chars < 0 ? size_t(-1) : size_t(max_chars);
    const bool found = walk_line([&](const char *p, qsizetype n) {
        if (m_line.size() > limit || (m_line.size() == limit && n > 0)) {
            skipped = skipped || n > 0;
            return;
        }
        m_decoder.feed(p, n, m_line);
    });
    if (!found)
        return false;
    if (!skipped)
        m_decoder.finish(m_line);
    m_decoder.reset();
    if (m_line.size() > limit || skipped) {
        m_cut = m_line.size() > limit || skipped;
        if (m_line.size() > limit)
            m_line.resize(limit);
    }
    return true;
}

bool LineReader::skip_line()
{
    return walk_line([](const char *, qsizetype) {});
}

qint64 LineReader::skip_lines(qint64 count)
{
    qint64 skipped = 0;
    bool in_line = false;   // bytes of a line whose end is still to come were read past
    while (skipped < count) {
        const char *d = m_buffer.data();
        const qsizetype size = m_buffer.size();
        if (m_pos >= size) {
            if (m_buffer.at_end()) {
                skipped += in_line;   // a last line without CR LF
                break;
            }
            m_buffer.refill(m_pos);
            m_pos = 0;
            continue;
        }
        const qint64 pairs = count_crlf(d + m_pos, size - m_pos);
        const qint64 wanted = count - skipped;
        if (pairs >= wanted) {
            // The last line to skip ends in this buffer: step to it pair by pair.
            for (qint64 i = 0; i < wanted; ++i)
                m_pos += find_crlf(d + m_pos, size - m_pos) + 2;
            skipped = count;
            break;
        }
        skipped += pairs;
        if (pairs > 0)
            in_line = false;
        m_pos += end_of_last_crlf(d + m_pos, size - m_pos);
        if (m_buffer.at_end()) {
            skipped += in_line || m_pos < size;
            m_pos = size;
            break;
        }
        // Drop what is left of the unfinished line but a CR that may pair with the next byte.
        const qsizetype keep = d[size - 1] == '\r' ? size - 1 : size;
        if (keep > m_pos)
            in_line = true;
        m_buffer.refill(keep);
        m_pos = 0;
    }
    return skipped;
}

}  // namespace search
