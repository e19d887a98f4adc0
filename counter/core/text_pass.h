#pragma once
// Pieces shared by the counter's and the comparison's passes (not part of the interface).
#include <QStringView>
#include <algorithm>
#include <cstddef>
#include <functional>
#include <vector>

namespace counter::detail {

// Code units between two polls of a pass: small enough that the window gets its event
// round within a fraction of a millisecond, large enough that the poll costs nothing.
inline constexpr qsizetype pass_chunk = 8192;

// The scans of a pass over text[from, to), at the speed of memory.
// The CR LF pairs whose LF lies in the range.
qint64 count_pairs_ending_in(QStringView text, qsizetype from, qsizetype to);
// The blanks (U+0020, U+3000) in the range.
qint64 count_blanks(QStringView text, qsizetype from, qsizetype to);
// Copies the units of the range that are not blanks to `out`, which has room for the
// whole range; gives how many it copied.
qsizetype copy_non_blanks(QStringView text, qsizetype from, qsizetype to, char16_t *out);
// The units equal to `unit` in the range.
qint64 count_unit(QStringView text, qsizetype from, qsizetype to, char16_t unit);
// Copies the units of the range other than `unit` to `out`, as copy_non_blanks does.
qsizetype copy_without_unit(QStringView text, qsizetype from, qsizetype to, char16_t unit,
                            char16_t *out);
// The index of the first `unit` in the range, or `to` if there is none.
qsizetype find_unit(QStringView text, qsizetype from, qsizetype to, char16_t unit);
// The first index in [from, to) where the two texts differ, or `to`; both reach `to`.
qsizetype find_difference(QStringView first, QStringView second, qsizetype from, qsizetype to);

// Asks the system to back a large buffer, not yet touched, with large pages.
void advise_large_buffer(void *data, std::size_t bytes);

// Asks the caller's keep_going, if it gave one, whether the pass goes on.
class Poll {
public:
    explicit Poll(const std::function<bool()> *keep_going) : m_keep_going(keep_going) {}
    bool operator()() const { return !m_keep_going || !*m_keep_going || (*m_keep_going)(); }

private:
    const std::function<bool()> *m_keep_going;
};

// Runs step(from, to) over [0, n) in chunks of pass_chunk, polling after each.
// Returns false when the poll stopped the pass.
template <class Step>
bool in_chunks(qsizetype n, const Poll &poll, Step step)
{
    for (qsizetype from = 0; from < n;) {
        const qsizetype to = from + std::min(pass_chunk, n - from);
        step(from, to);
        from = to;
        if (!poll())
            return false;
    }
    return true;
}

// Finds the occurrences of a non-empty chosen string in a text fed to it in consecutive
// ranges, left to right and without overlap. Knuth-Morris-Pratt keeps the whole search
// linear whatever the strings; while nothing is matched, it jumps to the next candidate
// first unit with a vector search, so ordinary text goes at the speed of memory.
class OccurrenceFinder {
public:
    explicit OccurrenceFinder(QStringView chosen) : m_chosen(chosen), m_fallback(chosen.size(), 0)
    {
        const char16_t *s = chosen.utf16();
        qsizetype k = 0;
        for (qsizetype q = 1; q < chosen.size(); ++q) {
            while (k > 0 && s[q] != s[k])
                k = m_fallback[k - 1];
            if (s[q] == s[k])
                ++k;
            m_fallback[q] = k;
        }
    }

    // Feeds text[from, to), which must follow the previous range fed; calls
    // on_match(start) for every occurrence that ends in it.
    template <class OnMatch>
    void feed(QStringView text, qsizetype from, qsizetype to, OnMatch on_match)
    {
        const char16_t *t = text.utf16();
        const char16_t *s = m_chosen.utf16();
        const qsizetype m = m_chosen.size();
        qsizetype i = from;
        while (i < to) {
            if (m_matched == 0) {
                i = find_unit(text, i, to, s[0]);
                if (i == to)
                    return;
            }
            const char16_t c = t[i];
            while (m_matched > 0 && s[m_matched] != c)
                m_matched = m_fallback[m_matched - 1];
            if (s[m_matched] == c)
                ++m_matched;
            ++i;
            if (m_matched == m) {
                // No overlap: the search starts afresh after the occurrence.
                m_matched = 0;
                on_match(i - m);
            }
        }
    }

private:
    QStringView m_chosen;
    std::vector<qsizetype> m_fallback;  // [q]: longest proper border of chosen[0..q]
    qsizetype m_matched = 0;            // units of chosen that end the text fed so far
};

}  // namespace counter::detail
