#include "compare.h"

#include "text_pass.h"

namespace counter {

namespace {

using detail::Poll;

// The position number of each index of the pass (0-based), counted as the first text's
// line breaks are met: p = i - 2*l for the 1-based i. Asked with rising indexes, it
// counts each part of the first text once.
class PositionNumbers {
public:
    explicit PositionNumbers(QStringView first) : m_first(first) {}

    qint64 at(qsizetype index)
    {
        const qsizetype upto = std::min(index + 1, m_first.size());
        if (upto > m_counted_to) {
            m_pairs += detail::count_pairs_ending_in(m_first, m_counted_to, upto);
            m_counted_to = upto;
        }
        return qint64(index) + 1 - 2 * m_pairs;
    }

private:
    QStringView m_first;
    qsizetype m_counted_to = 0;  // the pairs whose LF lies before this index are counted
    qint64 m_pairs = 0;
};

bool run_compare(QStringView first, QStringView second,
                 const std::function<void(const QString &entry)> &on_entry, const Poll &poll)
{
    const qsizetype common = std::min(first.size(), second.size());
    const qsizetype longer = std::max(first.size(), second.size());
    PositionNumbers positions(first);
    bool same = true;

    auto report = [&](qsizetype i) {
        same = false;
        // Past the end of one text its character is the empty text.
        const QStringView c1 = i < first.size() ? first.sliced(i, 1) : QStringView();
        const QStringView c2 = i < second.size() ? second.sliced(i, 1) : QStringView();
        on_entry(make_difference_entry(positions.at(i), c1, c2));
    };

    // The pass runs to the end of the longer text: a position that only one text has
    // differs, so "same" is said only of two equal texts.
    const bool done = detail::in_chunks(longer, poll, [&](qsizetype from, qsizetype to) {
        qsizetype i = from;
        const qsizetype common_to = std::clamp(common, from, to);
        while ((i = detail::find_difference(first, second, i, common_to)) < common_to)
            report(i++);
        for (; i < to; ++i)
            report(i);
    });
    if (!done)
        return false;
    if (same)
        on_entry(QString::fromUtf16(same_text_entry));
    return true;
}

}  // namespace

QString make_difference_entry(qint64 position, QStringView first_char, QStringView second_char)
{
    const QString number = QString::number(position);
    const QStringView pieces[] = {number, u" 文字目の ", first_char, u" と ", second_char,
                                  u" が違います。"};
    qsizetype size = 0;
    for (QStringView piece : pieces)
        size += piece.size();
    QString entry;
    entry.reserve(size);
    for (QStringView piece : pieces)
        entry.append(piece);
    return entry;
}

void compare_texts(QStringView first, QStringView second,
                   const std::function<void(const QString &entry)> &on_entry)
{
    run_compare(first, second, on_entry, Poll(nullptr));
}

bool compare_texts(QStringView first, QStringView second,
                   const std::function<void(const QString &entry)> &on_entry,
                   const std::function<bool()> &keep_going)
{
    return run_compare(first, second, on_entry, Poll(&keep_going));
}

QStringList compare_texts(QStringView first, QStringView second)
{
    QStringList entries;
    compare_texts(first, second, [&](const QString &entry) { entries.append(entry); });
    return entries;
}

}  // namespace counter
