#include "measure.h"

#include "text_pass.h"

#include <cstring>

namespace counter {

namespace {

using detail::in_chunks;
using detail::Poll;

constexpr char16_t unit_characters[] = u"個の文字列です";
constexpr char16_t unit_bytes[] = u"バイトです";

// A text of n units being rebuilt into a buffer of at most n units.
class TextBuilder {
public:
    explicit TextBuilder(qsizetype capacity) : m_text(capacity, Qt::Uninitialized)
    {
        detail::advise_large_buffer(data(), std::size_t(capacity) * sizeof(char16_t));
    }

    void append(const char16_t *from, qsizetype count)
    {
        if (count > 0)
            std::memcpy(data() + m_size, from, std::size_t(count) * sizeof(char16_t));
        m_size += count;
    }
    // Copies the units of text[from, to) that are not blanks.
    void append_non_blanks(QStringView text, qsizetype from, qsizetype to)
    {
        m_size += detail::copy_non_blanks(text, from, to, data() + m_size);
    }
    // Copies the units of text[from, to) other than `unit`; gives how many it copied.
    qsizetype append_without_unit(QStringView text, qsizetype from, qsizetype to, char16_t unit)
    {
        const qsizetype kept = detail::copy_without_unit(text, from, to, unit, data() + m_size);
        m_size += kept;
        return kept;
    }
    qsizetype size() const { return m_size; }
    QString take()
    {
        m_text.truncate(m_size);
        return std::move(m_text);
    }

private:
    char16_t *data() { return reinterpret_cast<char16_t *>(m_text.data()); }

    QString m_text;           // its first m_size units are the text built so far
    qsizetype m_size = 0;
};

// Pass bodies: each returns the measurement, or nothing when the poll stopped it.
// `breaks` is L of the text as it is now, counted in the same pass.

std::optional<Measurement> run_pass(const QString &text, Mode mode, QStringView chosen,
                                    const Poll &poll)
{
    const QStringView t = text;
    const qsizetype n = t.size();
    const char16_t *p = t.utf16();
    qint64 breaks = 0;
    auto count_breaks = [&](qsizetype from, qsizetype to) {
        breaks += detail::count_pairs_ending_in(t, from, to);
    };

    Measurement out;
    out.unit = QString::fromUtf16(mode == Mode::Bytes ? unit_bytes : unit_characters);

    switch (mode) {
    case Mode::Space:
    case Mode::Bytes:
        if (!in_chunks(n, poll, count_breaks))
            return std::nullopt;
        out.result = (mode == Mode::Bytes ? 2 * qint64(n) : qint64(n)) - 2 * breaks;
        return out;

    case Mode::Trim: {
        if (!in_chunks(n, poll, count_breaks))
            return std::nullopt;
        // Only the half-width blanks at the two ends of the whole text go: a full-width
        // blank at the start is a paragraph indent and belongs to the text.
        qsizetype begin = 0;
        while (begin < n && p[begin] == u' ') {
            if (++begin % detail::pass_chunk == 0 && !poll())
                return std::nullopt;
        }
        qsizetype end = n;
        while (end > begin && p[end - 1] == u' ') {
            if (--end % detail::pass_chunk == 0 && !poll())
                return std::nullopt;
        }
        out.result = qint64(end - begin) - 2 * breaks;
        return out;
    }

    case Mode::NoSpace: {
        qint64 blanks = 0;
        const bool done = in_chunks(n, poll, [&](qsizetype from, qsizetype to) {
            count_breaks(from, to);
            blanks += detail::count_blanks(t, from, to);
        });
        if (!done)
            return std::nullopt;
        out.result = qint64(n) - blanks - 2 * breaks;
        return out;
    }

    case Mode::DeleteSpace: {
        TextBuilder kept(n);
        const bool done = in_chunks(n, poll, [&](qsizetype from, qsizetype to) {
            count_breaks(from, to);
            kept.append_non_blanks(t, from, to);
        });
        if (!done)
            return std::nullopt;
        out.result = qint64(kept.size()) - 2 * breaks;
        out.new_text = kept.take();
        return out;
    }

    case Mode::NotChosen:
    case Mode::CountChosen:
    case Mode::DeleteChosen:
    case Mode::KeepChosen:
        break;
    }

    // The modes of the chosen string. An empty chosen string has no occurrences: counting
    // it "at every character" would make the deleting mode wipe out the whole text.
    const qsizetype m = chosen.size();
    qint64 occurrences = 0;
    const bool deleting = mode == Mode::DeleteChosen;
    TextBuilder rest(deleting ? n : 0);
    qsizetype copied_to = 0;  // deleting: the text before this index is settled
    if (m == 1) {
        // A single unit never overlaps itself: counted, or left out, eight units a step.
        const char16_t unit = chosen.front().unicode();
        const bool done = in_chunks(n, poll, [&](qsizetype from, qsizetype to) {
            count_breaks(from, to);
            if (deleting)
                occurrences += (to - from) - rest.append_without_unit(t, from, to, unit);
            else
                occurrences += detail::count_unit(t, from, to, unit);
        });
        if (!done)
            return std::nullopt;
        copied_to = n;
    } else if (m > 1) {
        detail::OccurrenceFinder finder(chosen);
        const bool done = in_chunks(n, poll, [&](qsizetype from, qsizetype to) {
            count_breaks(from, to);
            finder.feed(t, from, to, [&](qsizetype start) {
                ++occurrences;
                if (deleting) {
                    rest.append(p + copied_to, start - copied_to);
                    copied_to = start + m;
                }
            });
        });
        if (!done)
            return std::nullopt;
    } else if (!in_chunks(n, poll, count_breaks)) {
        return std::nullopt;
    }

    switch (mode) {
    case Mode::NotChosen:
        out.result = qint64(n) - occurrences * m - 2 * breaks;
        break;
    case Mode::CountChosen:
        out.result = occurrences;
        break;
    case Mode::DeleteChosen:
        rest.append(p + copied_to, n - copied_to);
        out.result = qint64(rest.size()) - 2 * breaks;
        out.new_text = rest.take();
        break;
    case Mode::KeepChosen:
        out.result = occurrences;
        // With no chosen string there is nothing to keep apart from: the text stays.
        out.new_text = m > 0 ? chosen.toString().repeated(occurrences) : text;
        break;
    default:
        break;
    }
    return out;
}

}  // namespace

qint64 count_line_breaks(QStringView text)
{
    return detail::count_pairs_ending_in(text, 0, text.size());
}

Measurement measure_text(const QString &text, Mode mode, const QString &chosen)
{
    // Without a poll the pass cannot be stopped, so there is always a measurement.
    return *run_pass(text, mode, chosen, Poll(nullptr));
}

std::optional<Measurement> measure_text(const QString &text, Mode mode, const QString &chosen,
                                        const std::function<bool()> &keep_going)
{
    // Our own references keep both strings alive and unchanged while events run.
    const QString held_text = text;
    const QString held_chosen = chosen;
    return run_pass(held_text, mode, held_chosen, Poll(&keep_going));
}

}  // namespace counter
