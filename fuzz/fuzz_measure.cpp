// measure_text in all nine modes against what each mode means, worked out here in the
// plainest way: counts from the text's own characters, and the edited texts rebuilt.
#include "fuzz_input.h"
#include "measure.h"

#include <QList>

using counter::Mode;

namespace {

qint64 crlf_pairs(const QString &t)
{
    qint64 pairs = 0;
    for (qsizetype i = 0; i + 1 < t.size(); ++i)
        if (t[i] == u'\r' && t[i + 1] == u'\n')
            ++pairs;
    return pairs;
}

bool is_blank(QChar c) { return c == u' ' || c == u'\u3000'; }

// The occurrences of `chosen`, left to right, never overlapping; none for an empty one.
QList<qsizetype> occurrences(const QString &t, const QString &chosen)
{
    QList<qsizetype> at;
    if (chosen.isEmpty())
        return at;
    for (qsizetype i = 0; i + chosen.size() <= t.size();) {
        if (QStringView(t).sliced(i, chosen.size()) == chosen) {
            at.append(i);
            i += chosen.size();
        } else {
            ++i;
        }
    }
    return at;
}

QString trimmed(const QString &t, bool full_width_too)
{
    auto trims = [&](QChar c) { return c == u' ' || (full_width_too && c == u'\u3000'); };
    qsizetype from = 0, to = t.size();
    while (from < to && trims(t[from]))
        ++from;
    while (to > from && trims(t[to - 1]))
        --to;
    return t.mid(from, to - from);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const QString chosen = in.text(in.byte() % 6);
    const QString t = in.text(8192);

    const qint64 n = t.size();
    const qint64 L = crlf_pairs(t);
    qint64 blanks = 0;
    QString without_blanks;
    for (QChar c : t) {
        if (is_blank(c))
            ++blanks;
        else
            without_blanks.append(c);
    }
    const QList<qsizetype> at = occurrences(t, chosen);
    const qint64 k = at.size();
    QString without_chosen;
    qsizetype copied = 0;
    for (qsizetype start : at) {
        without_chosen += QStringView(t).sliced(copied, start - copied);
        copied = start + chosen.size();
    }
    without_chosen += QStringView(t).sliced(copied);

    fuzz::check(counter::count_line_breaks(t) == L, "count_line_breaks counts CR LF pairs");

    for (int m = 0; m <= 8; ++m) {
        const Mode mode = Mode(m);
        const counter::Measurement r = counter::measure_text(t, mode, chosen);
        const bool edits = mode == Mode::DeleteSpace || mode == Mode::DeleteChosen || mode == Mode::KeepChosen;
        fuzz::check(r.new_text.has_value() == edits, "only modes 5, 6 and 7 give a new text");
        fuzz::check(r.unit == (mode == Mode::Bytes ? u"バイトです" : u"個の文字列です"), "the unit");
        switch (mode) {
        case Mode::Space:
            fuzz::check(r.result == n - 2 * L, "mode 0 is n - 2L");
            break;
        case Mode::Trim:
            // Full-width blanks at the ends may go with the half-width ones.
            fuzz::check(r.result == trimmed(t, false).size() - 2 * L
                            || r.result == trimmed(t, true).size() - 2 * L,
                        "mode 1 is the trimmed length - 2L");
            break;
        case Mode::NoSpace:
            fuzz::check(r.result == n - blanks - 2 * L, "mode 2 is n - B - 2L");
            break;
        case Mode::NotChosen:
            fuzz::check(r.result == n - k * chosen.size() - 2 * L, "mode 3 is n - k*m - 2L");
            break;
        case Mode::CountChosen:
            fuzz::check(r.result == k, "mode 4 is k");
            break;
        case Mode::DeleteSpace:
            fuzz::check(*r.new_text == without_blanks, "mode 5 removes every blank and nothing else");
            fuzz::check(r.result == r.new_text->size() - 2 * L, "mode 5 is the new length - 2L");
            break;
        case Mode::DeleteChosen:
            fuzz::check(*r.new_text == without_chosen, "mode 6 removes each occurrence");
            fuzz::check(r.result == r.new_text->size() - 2 * L, "mode 6 is the new length - 2L");
            break;
        case Mode::KeepChosen:
            // With no chosen string there is nothing to keep apart from: the text stays whole.
            fuzz::check(*r.new_text == (chosen.isEmpty() ? t : chosen.repeated(k)),
                        "mode 7 is k copies of the chosen string");
            fuzz::check(r.result == k, "mode 7 is k");
            break;
        case Mode::Bytes:
            fuzz::check(r.result == 2 * n - 2 * L, "mode 8 is 2n - 2L");
            break;
        }
    }
    return 0;
}
