#include "measure.h"
#include "text_pass.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using counter::Mode;

Q_DECLARE_METATYPE(counter::Mode)

namespace {

constexpr qsizetype chunk = counter::detail::pass_chunk;

// The counts worked out the slow, obvious way, for cross-checking the chunked passes.
struct Plain {
    qint64 breaks = 0;
    qint64 blanks = 0;
    QList<qsizetype> starts;  // occurrences of the chosen string, left to right, no overlap
};

Plain plain_count(const QString &t, const QString &s)
{
    Plain c;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (i > 0 && t[i] == u'\n' && t[i - 1] == u'\r')
            ++c.breaks;
        if (t[i] == u' ' || t[i] == u'\u3000')
            ++c.blanks;
    }
    if (!s.isEmpty()) {
        for (qsizetype i = 0; i + s.size() <= t.size();) {
            if (QStringView(t).sliced(i, s.size()) == s) {
                c.starts.append(i);
                i += s.size();
            } else {
                ++i;
            }
        }
    }
    return c;
}

}  // namespace

class TstMeasure : public QObject {
    Q_OBJECT

private slots:
    void line_breaks_data();
    void line_breaks();
    void results_data();
    void results();
    void rewrites_data();
    void rewrites();
    void empty_text_gives_zero();
    void unit_text();
    void agrees_with_plain_count_across_chunks();
    void stops_when_told();
    void keeps_counting_the_text_of_the_click();
};

void TstMeasure::line_breaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("pairs");

    QTest::newRow("empty") << u""_s << 0LL;
    QTest::newRow("one pair") << u"ab\r\ncd"_s << 1LL;
    QTest::newRow("lone CR and lone LF are no pair") << u"a\rb\nc"_s << 0LL;
    QTest::newRow("LF CR is no pair") << u"\n\r"_s << 0LL;
    QTest::newRow("CR CR LF is one pair") << u"\r\r\n"_s << 1LL;
    QTest::newRow("LF at the start") << u"\nx\r\n\r\n"_s << 2LL;
    QTest::newRow("pair across a pass chunk")
        << QString(chunk - 1, u'x') + u"\r\n"_s + QString(chunk, u'y') << 1LL;
    // Long enough that counters kept per vector lane would overflow if never summed.
    QTest::newRow("a million pairs") << u"\r\n"_s.repeated(1'000'000) << 1'000'000LL;
}

void TstMeasure::line_breaks()
{
    QFETCH(QString, text);
    QFETCH(qint64, pairs);
    QCOMPARE(counter::count_line_breaks(text), pairs);
}

void TstMeasure::results_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<qint64>("result");

    const QString example = u"ab\r\nc d"_s;  // n = 7, L = 1, B = 1
    QTest::newRow("example, with blanks") << example << Mode::Space << u""_s << 5LL;
    QTest::newRow("example, without blanks") << example << Mode::NoSpace << u""_s << 4LL;
    QTest::newRow("example, bytes") << example << Mode::Bytes << u""_s << 12LL;
    QTest::newRow("line break is no character") << u"ab\r\ncd"_s << Mode::Space << u""_s << 4LL;
    QTest::newRow("line break is two bytes") << u"ab\r\ncd"_s << Mode::Bytes << u""_s << 10LL;
    QTest::newRow("kanji count one each") << u"日本語"_s << Mode::Space << u""_s << 3LL;
    QTest::newRow("kanji are two bytes") << u"日本語"_s << Mode::Bytes << u""_s << 6LL;
    QTest::newRow("ASCII is two bytes too") << u"abc"_s << Mode::Bytes << u""_s << 6LL;
    QTest::newRow("surrogate pair counts two") << u"a😀"_s << Mode::Space << u""_s << 3LL;
    QTest::newRow("surrogate pair is four bytes") << u"😀"_s << Mode::Bytes << u""_s << 4LL;
    QTest::newRow("lone CR is a character") << u"a\rb"_s << Mode::Space << u""_s << 3LL;
    QTest::newRow("lone LF is a character") << u"a\nb"_s << Mode::Space << u""_s << 3LL;
    QTest::newRow("LF CR are two characters") << u"\n\r"_s << Mode::Space << u""_s << 2LL;

    QTest::newRow("trim: blanks at both ends") << u"  ab c  "_s << Mode::Trim << u""_s << 4LL;
    QTest::newRow("trim: only the ends of the whole text")
        << u"  a\r\n b  "_s << Mode::Trim << u""_s << 3LL;
    QTest::newRow("trim: blank before an inner break stays")
        << u"a \r\nb"_s << Mode::Trim << u""_s << 3LL;
    QTest::newRow("trim: full-width blanks at the ends stay")
        << u"\u3000a\u3000"_s << Mode::Trim << u""_s << 3LL;
    QTest::newRow("trim: half-width run stops at a full-width blank")
        << u" \u3000 a \u3000 "_s << Mode::Trim << u""_s << 5LL;
    QTest::newRow("trim: tabs are no blanks") << u"\ta\t"_s << Mode::Trim << u""_s << 3LL;
    QTest::newRow("trim: blanks only") << u"    "_s << Mode::Trim << u""_s << 0LL;
    QTest::newRow("trim: break between blanks") << u" \r\n "_s << Mode::Trim << u""_s << 0LL;

    QTest::newRow("full-width blank is a blank") << u"a\u3000b c"_s << Mode::NoSpace << u""_s << 3LL;
    QTest::newRow("no-break space is no blank") << u"a\u00A0b"_s << Mode::NoSpace << u""_s << 3LL;
    QTest::newRow("blanks only, without blanks") << u" \u3000 "_s << Mode::NoSpace << u""_s << 0LL;
    QTest::newRow("a million blanks, without blanks")
        << u" \u3000"_s.repeated(500'000) + u"a"_s << Mode::NoSpace << u""_s << 1LL;

    QTest::newRow("not chosen: a in banana") << u"banana"_s << Mode::NotChosen << u"a"_s << 3LL;
    QTest::newRow("count: a in banana") << u"banana"_s << Mode::CountChosen << u"a"_s << 3LL;
    QTest::newRow("not chosen: an in banana") << u"banana"_s << Mode::NotChosen << u"an"_s << 2LL;
    QTest::newRow("count: an in banana") << u"banana"_s << Mode::CountChosen << u"an"_s << 2LL;
    QTest::newRow("not chosen: no overlap") << u"aaaa"_s << Mode::NotChosen << u"aa"_s << 0LL;
    QTest::newRow("count: aa twice in aaaa") << u"aaaa"_s << Mode::CountChosen << u"aa"_s << 2LL;
    QTest::newRow("count: aa once in aaa") << u"aaa"_s << Mode::CountChosen << u"aa"_s << 1LL;
    QTest::newRow("count: case matters") << u"banana"_s << Mode::CountChosen << u"A"_s << 0LL;
    QTest::newRow("count: width matters") << u"ａa"_s << Mode::CountChosen << u"a"_s << 1LL;
    QTest::newRow("count: after a false start") << u"aaab"_s << Mode::CountChosen << u"aab"_s << 1LL;
    QTest::newRow("count: restart inside a partial match")
        << u"abababc"_s << Mode::CountChosen << u"ababc"_s << 1LL;
    QTest::newRow("count: no overlap after a match")
        << u"ababab"_s << Mode::CountChosen << u"abab"_s << 1LL;
    QTest::newRow("count: chosen longer than the text")
        << u"ab"_s << Mode::CountChosen << u"abc"_s << 0LL;
    QTest::newRow("not chosen: line breaks still subtracted")
        << u"東京\r\n東京"_s << Mode::NotChosen << u"京"_s << 2LL;

    QTest::newRow("empty chosen: not chosen is everything")
        << u"ab\r\ncd"_s << Mode::NotChosen << u""_s << 4LL;
    QTest::newRow("empty chosen: no occurrences") << u"ab\r\ncd"_s << Mode::CountChosen << u""_s << 0LL;
}

void TstMeasure::results()
{
    QFETCH(QString, text);
    QFETCH(Mode, mode);
    QFETCH(QString, chosen);
    QFETCH(qint64, result);
    const counter::Measurement m = counter::measure_text(text, mode, chosen);
    QCOMPARE(m.result, result);
    QVERIFY(!m.new_text.has_value());
}

void TstMeasure::rewrites_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("new_text");
    QTest::addColumn<qint64>("result");

    QTest::newRow("delete blanks, breaks stay")
        << u"a b\u3000c\r\n d"_s << Mode::DeleteSpace << u""_s << u"abc\r\nd"_s << 4LL;
    QTest::newRow("delete blanks keeps the no-break space")
        << u"a\u00A0 b"_s << Mode::DeleteSpace << u""_s << u"a\u00A0b"_s << 3LL;
    QTest::newRow("delete blanks: joined CR and LF are still one break of the old text")
        << u"a\r \nb"_s << Mode::DeleteSpace << u""_s << u"a\r\nb"_s << 4LL;
    QTest::newRow("delete a from banana") << u"banana"_s << Mode::DeleteChosen << u"a"_s << u"bnn"_s << 3LL;
    QTest::newRow("delete ana from banana")
        << u"banana"_s << Mode::DeleteChosen << u"ana"_s << u"bna"_s << 3LL;
    QTest::newRow("delete keeps line breaks")
        << u"xa\r\nax"_s << Mode::DeleteChosen << u"a"_s << u"x\r\nx"_s << 2LL;
    QTest::newRow("delete the whole text") << u"abab"_s << Mode::DeleteChosen << u"ab"_s << u""_s << 0LL;
    QTest::newRow("delete: L of the text before deleting")
        << u"a\r\nb"_s << Mode::DeleteChosen << u"\n"_s << u"a\rb"_s << 1LL;
    QTest::newRow("keep a of banana") << u"banana"_s << Mode::KeepChosen << u"a"_s << u"aaa"_s << 3LL;
    QTest::newRow("keep drops line breaks")
        << u"a\r\nba"_s << Mode::KeepChosen << u"a"_s << u"aa"_s << 2LL;
    QTest::newRow("keep what does not occur") << u"banana"_s << Mode::KeepChosen << u"x"_s << u""_s << 0LL;

    // With no chosen string nothing is deleted or kept apart: the text stays whole.
    QTest::newRow("empty chosen: delete leaves the text")
        << u"ab\r\ncd"_s << Mode::DeleteChosen << u""_s << u"ab\r\ncd"_s << 4LL;
    QTest::newRow("empty chosen: keep leaves the text")
        << u"ab\r\ncd"_s << Mode::KeepChosen << u""_s << u"ab\r\ncd"_s << 0LL;
}

void TstMeasure::rewrites()
{
    QFETCH(QString, text);
    QFETCH(Mode, mode);
    QFETCH(QString, chosen);
    QFETCH(QString, new_text);
    QFETCH(qint64, result);
    const counter::Measurement m = counter::measure_text(text, mode, chosen);
    QCOMPARE(m.new_text, std::optional<QString>(new_text));
    QCOMPARE(m.result, result);
}

void TstMeasure::empty_text_gives_zero()
{
    for (int mode = 0; mode <= 8; ++mode) {
        for (const QString &chosen : {u""_s, u"a"_s}) {
            const counter::Measurement m = counter::measure_text({}, Mode(mode), chosen);
            QCOMPARE(m.result, qint64(0));
            const bool edits = mode >= 5 && mode <= 7;
            QCOMPARE(m.new_text.has_value(), edits);
            if (edits)
                QVERIFY(m.new_text->isEmpty());
        }
    }
}

void TstMeasure::unit_text()
{
    for (int mode = 0; mode <= 8; ++mode) {
        const QString unit = counter::measure_text(u"a"_s, Mode(mode), u"a"_s).unit;
        QCOMPARE(unit, mode == 8 ? u"バイトです"_s : u"個の文字列です"_s);
    }
}

// Texts of a few chunks over a small alphabet, so that line breaks, blank runs and
// occurrences straddle the places where the pass polls, checked against the plain count.
void TstMeasure::agrees_with_plain_count_across_chunks()
{
    QRandomGenerator random(20261211);
    const char16_t alphabet[] = u"ab\r\n \u3000";
    const QString chosen_strings[] = {u"a"_s, u"ab"_s, u"\r\n"_s, u"aab"_s, u"abab"_s,
                                      u"a\r\nb"_s, u" \u3000"_s};
    for (int round = 0; round < 40; ++round) {
        const qsizetype n = random.bounded(int(3 * chunk));
        QString t(n, Qt::Uninitialized);
        for (qsizetype i = 0; i < n; ++i)
            t[i] = QChar(alphabet[random.bounded(6)]);
        // Long blank runs at the ends, sometimes across a whole chunk.
        if (round % 4 == 0)
            t = QString(chunk + 3, u' ') + t + QString(chunk - 5, u' ');
        const QString &s = chosen_strings[round % std::size(chosen_strings)];
        const Plain c = plain_count(t, s);
        const qint64 size = t.size();
        const qint64 k = c.starts.size();

        QString deleted;
        qsizetype from = 0;
        for (qsizetype start : c.starts) {
            deleted += QStringView(t).sliced(from, start - from);
            from = start + s.size();
        }
        deleted += QStringView(t).sliced(from);
        QString without_blanks = t;
        without_blanks.remove(u' ').remove(u'\u3000');
        qsizetype begin = 0;
        qsizetype end = t.size();
        while (begin < end && t[begin] == u' ')
            ++begin;
        while (end > begin && t[end - 1] == u' ')
            --end;

        const auto measure = [&](Mode mode) { return counter::measure_text(t, mode, s); };
        QCOMPARE(counter::count_line_breaks(t), c.breaks);
        QCOMPARE(measure(Mode::Space).result, size - 2 * c.breaks);
        QCOMPARE(measure(Mode::Trim).result, qint64(end - begin) - 2 * c.breaks);
        QCOMPARE(measure(Mode::NoSpace).result, size - c.blanks - 2 * c.breaks);
        QCOMPARE(measure(Mode::NotChosen).result, size - k * s.size() - 2 * c.breaks);
        QCOMPARE(measure(Mode::CountChosen).result, k);
        QCOMPARE(measure(Mode::DeleteSpace).new_text, std::optional(without_blanks));
        QCOMPARE(measure(Mode::DeleteChosen).new_text, std::optional(deleted));
        QCOMPARE(measure(Mode::KeepChosen).new_text, std::optional(s.repeated(k)));
        QCOMPARE(measure(Mode::Bytes).result, 2 * size - 2 * c.breaks);
    }
}

void TstMeasure::stops_when_told()
{
    const QString text = QString(4 * chunk, u'a') + u"\r\n"_s;
    for (int mode = 0; mode <= 8; ++mode) {
        int polls = 0;
        const auto always = counter::measure_text(text, Mode(mode), u"a"_s, [&] {
            ++polls;
            return true;
        });
        QVERIFY(always.has_value());
        QCOMPARE(always->result, counter::measure_text(text, Mode(mode), u"a"_s).result);
        QVERIFY2(polls >= 4, "a long pass lets events run more than once");

        int asked = 0;
        const auto stopped = counter::measure_text(text, Mode(mode), u"a"_s, [&] {
            return ++asked < 2;
        });
        QVERIFY(!stopped.has_value());
        QCOMPARE(asked, 2);
    }
}

// The window lets events run during the pass, and a handler may replace its copy of the
// text; the count is still of the text as it was at the click.
void TstMeasure::keeps_counting_the_text_of_the_click()
{
    QString text = QString(3 * chunk, u'a');
    QString chosen = u"a"_s;
    const auto m = counter::measure_text(text, Mode::DeleteChosen, chosen, [&] {
        text = u"changed"_s;
        chosen = u"x"_s;
        return true;
    });
    QVERIFY(m.has_value());
    QCOMPARE(m->new_text, std::optional(QString()));
    QCOMPARE(m->result, qint64(0));
}

QTEST_GUILESS_MAIN(TstMeasure)
#include "tst_measure.moc"
