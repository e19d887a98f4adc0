#include "compare.h"
#include "text_pass.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype chunk = counter::detail::pass_chunk;

QString entry(qint64 p, const QString &c1, const QString &c2)
{
    return QString::number(p) + u" 文字目の "_s + c1 + u" と "_s + c2 + u" が違います。"_s;
}

const QString same = u"同じ文字列です。"_s;

// The pass as a person would do it by hand, position by position.
QStringList plain_compare(const QString &a, const QString &b)
{
    QStringList entries;
    qint64 l = 0;
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        if (i > 0 && i < a.size() && a[i] == u'\n' && a[i - 1] == u'\r')
            ++l;
        const QString c1 = i < a.size() ? QString(a[i]) : QString();
        const QString c2 = i < b.size() ? QString(b[i]) : QString();
        if (c1 != c2)
            entries.append(entry(i + 1 - 2 * l, c1, c2));
    }
    if (entries.isEmpty())
        entries.append(same);
    return entries;
}

}  // namespace

class TstCompare : public QObject {
    Q_OBJECT

private slots:
    void entries_data();
    void entries();
    void agrees_with_plain_compare_across_chunks();
    void entries_arrive_in_order();
    void stops_when_told();
};

void TstCompare::entries_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("equal texts") << u"あいう\r\nx"_s << u"あいう\r\nx"_s << QStringList{same};
    QTest::newRow("two empty texts") << u""_s << u""_s << QStringList{same};
    QTest::newRow("last character differs")
        << u"abc"_s << u"abd"_s << QStringList{u"3 文字目の c と d が違います。"_s};
    QTest::newRow("entries in order of position")
        << u"abc"_s << u"xbz"_s
        << QStringList{u"1 文字目の a と x が違います。"_s, u"3 文字目の c と z が違います。"_s};
    QTest::newRow("case differs") << u"a"_s << u"A"_s << QStringList{entry(1, u"a"_s, u"A"_s)};
    QTest::newRow("full-width blank against half-width")
        << u"\u3000"_s << u" "_s << QStringList{entry(1, u"\u3000"_s, u" "_s)};
    QTest::newRow("positions leave line breaks out")
        << u"ab\r\ncd"_s << u"ab\r\ncx"_s << QStringList{entry(4, u"d"_s, u"x"_s)};
    QTest::newRow("CR and LF keep their positions and stand in the entry")
        << u"ab\r\ncd"_s << u"abxycd"_s
        << QStringList{u"3 文字目の \r と x が違います。"_s, u"2 文字目の \n と y が違います。"_s};
    QTest::newRow("line breaks of the second text do not count")
        << u"abxyz"_s << u"ab\r\nc"_s
        << QStringList{entry(3, u"x"_s, u"\r"_s), entry(4, u"y"_s, u"\n"_s),
                       entry(5, u"z"_s, u"c"_s)};
    QTest::newRow("surrogate halves compared one by one")
        << u"😀"_s << u"😁"_s << QStringList{entry(2, u"\xDE00"_s, u"\xDE01"_s)};
    QTest::newRow("shorter second: missing character is empty")
        << u"abc"_s << u"ab"_s << QStringList{u"3 文字目の c と  が違います。"_s};
    QTest::newRow("shorter second: a break in the rest keeps its positions")
        << u"ab\r\nc"_s << u"ab"_s
        << QStringList{entry(3, u"\r"_s, {}), entry(2, u"\n"_s, {}), entry(3, u"c"_s, {})};
    QTest::newRow("longer second is no same text")
        << u"ab"_s << u"abc"_s << QStringList{u"3 文字目の  と c が違います。"_s};
    QTest::newRow("empty first against a text")
        << u""_s << u"xy"_s << QStringList{entry(1, {}, u"x"_s), entry(2, {}, u"y"_s)};
    QTest::newRow("past the first text all of its breaks count")
        << u"a\r\n"_s << u"a\r\nbc"_s << QStringList{entry(2, {}, u"b"_s), entry(3, {}, u"c"_s)};
}

void TstCompare::entries()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QStringList, expected);
    QCOMPARE(counter::compare_texts(first, second), expected);
}

// Long texts whose differences and line breaks fall on and around the places where the
// pass changes block or polls, against the position-by-position pass.
void TstCompare::agrees_with_plain_compare_across_chunks()
{
    QRandomGenerator random(1211);
    const char16_t alphabet[] = u"ab\r\n";
    for (int round = 0; round < 30; ++round) {
        const qsizetype n = chunk + random.bounded(int(2 * chunk));
        QString a(n, Qt::Uninitialized);
        for (qsizetype i = 0; i < n; ++i)
            a[i] = QChar(alphabet[random.bounded(4)]);
        QString b = a;
        for (qsizetype at : {qsizetype(0), qsizetype(127), qsizetype(128), chunk - 1, chunk,
                             qsizetype(random.bounded(int(n)))}) {
            if (random.bounded(2))
                b[at] = QChar(alphabet[random.bounded(4)]);
        }
        if (round % 3 == 1)
            b.truncate(random.bounded(int(n)));
        else if (round % 3 == 2)
            b += u"x\r\ny"_s;
        QCOMPARE(counter::compare_texts(a, b), plain_compare(a, b));
        QCOMPARE(counter::compare_texts(b, a), plain_compare(b, a));
    }
}

void TstCompare::entries_arrive_in_order()
{
    // Each entry reaches the window as it is found; the same-text entry comes last.
    QStringList seen;
    counter::compare_texts(u"abc"_s, u"xbz"_s, [&](const QString &e) { seen.append(e); });
    QCOMPARE(seen, QStringList({entry(1, u"a"_s, u"x"_s), entry(3, u"c"_s, u"z"_s)}));

    seen.clear();
    int polls = 0;
    const QString long_text(3 * chunk, u'a');
    const bool finished = counter::compare_texts(
        long_text, long_text, [&](const QString &e) { seen.append(e); },
        [&] { return ++polls > 0; });
    QVERIFY(finished);
    QCOMPARE(seen, QStringList{same});
    QVERIFY2(polls >= 3, "a long pass lets events run more than once");
}

void TstCompare::stops_when_told()
{
    const QString a(4 * chunk, u'a');
    const QString b(4 * chunk, u'b');
    qsizetype entries = 0;
    int asked = 0;
    const bool finished = counter::compare_texts(
        a, a, [&](const QString &) { ++entries; }, [&] { return ++asked < 2; });
    QVERIFY(!finished);
    QCOMPARE(entries, 0);  // no same-text entry after an abandoned pass

    asked = 0;
    QVERIFY(!counter::compare_texts(a, b, [&](const QString &) { ++entries; },
                                    [&] { return ++asked < 2; }));
    QCOMPARE(entries, 2 * chunk);
}

QTEST_GUILESS_MAIN(TstCompare)
#include "tst_compare.moc"
