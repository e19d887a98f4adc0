#include "fixture.h"
#include "hit_entry.h"
#include "page_view.h"

#include <cmath>
#include <limits>
#include <random>

using namespace search;
using namespace Qt::StringLiterals;

class TstPageView : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void read_window_data();
    void read_window();
    void read_window_cuts_giant_lines_for_the_view();
    void leading_number_data();
    void leading_number();
    void format_number_data();
    void format_number();
    void caption_reads_back_what_was_written();
    void top_line_data();
    void top_line();
    void find_phrase_data();
    void find_phrase();
    void jump_to_hit_data();
    void jump_to_hit();

private:
    Fixture m_fixture;
};

// Lines "L<from>" .. "L<to>", each with CR LF: the view text of a window of the 12-line file.
static QString view(int from, int to)
{
    QString text;
    for (int i = from; i <= to; ++i)
        text += u"L"_s + QString::number(i) + u"\r\n"_s;
    return text;
}

void TstPageView::initTestCase()
{
    QVERIFY(m_fixture.valid());
    QByteArray twelve;
    for (int i = 1; i <= 12; ++i)
        twelve += "L" + QByteArray::number(i) + (i < 12 ? "\r\n" : "");
    QVERIFY(m_fixture.write("twelve.txt", twelve));
    QVERIFY(m_fixture.write("empty.txt", ""));
    QByteArray seven = "a\r\nb\r\nc\r\nd\r\nphrase and phrase\r\nf phrase\r\ng\r\n";
    QVERIFY(m_fixture.write("seven.txt", seven));
    QVERIFY(m_fixture.write("report 2", "1\r\n2\r\nin report 2\r\n"));
}

void TstPageView::read_window_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("stop");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("count");

    const QString twelve = u"twelve.txt"_s;
    QTest::newRow("first page shows all 12") << twelve << 1.0 << 31.0 << 30.0 << view(1, 12) << 12LL;
    QTest::newRow("first page of an empty file") << u"empty.txt"_s << 1.0 << 31.0 << 30.0 << QString() << 0LL;
    QTest::newRow("up from 2") << twelve << 1.0 << 11.0 << 12.0 << view(1, 10) << 12LL;
    QTest::newRow("up from 1 shows nine") << twelve << 0.0 << 10.0 << 11.0 << view(1, 9) << 11LL;
    QTest::newRow("down from N-1 shows N") << twelve << 12.0 << 22.0 << 21.0 << view(12, 12) << 12LL;
    QTest::newRow("down from N shows nothing") << twelve << 13.0 << 23.0 << 22.0 << QString() << 12LL;
    QTest::newRow("up from N+5 shows nothing") << twelve << 16.0 << 26.0 << 27.0 << QString() << 12LL;
    QTest::newRow("down with no top line") << twelve << 1.0 << 11.0 << 10.0 << view(1, 10) << 10LL;
    QTest::newRow("up with no top line") << twelve << -1.0 << 9.0 << 10.0 << view(1, 8) << 10LL;
    QTest::newRow("go to 7") << twelve << 7.0 << 17.0 << 17.0 << view(7, 12) << 12LL;
    QTest::newRow("go to 0") << twelve << 0.0 << 10.0 << 10.0 << view(1, 9) << 10LL;
    QTest::newRow("go to -3") << twelve << -3.0 << 7.0 << 7.0 << view(1, 6) << 7LL;
    QTest::newRow("go to 5.5 reads to the end") << twelve << 5.5 << 15.5 << 15.5 << view(6, 12) << 12LL;
    QTest::newRow("stop among the skipped lines") << twelve << 8.0 << 18.0 << 5.0 << QString() << 5LL;
    QTest::newRow("stop zero never ends the read") << twelve << 1.0 << 3.0 << 0.0 << view(1, 2) << 12LL;
    QTest::newRow("fraction below the first shown line") << twelve << 10.25 << 12.0 << 30.0 << view(11, 11) << 12LL;
    QTest::newRow("stop line is read and shown") << twelve << 1.0 << 4.0 << 3.0 << view(1, 3) << 3LL;
    QTest::newRow("huge number: nothing, whole file read") << twelve << std::numeric_limits<double>::max()
        << std::numeric_limits<double>::max() << std::numeric_limits<double>::max() << QString() << 12LL;
    QTest::newRow("file that cannot be opened") << u"gone.txt"_s << 1.0 << 31.0 << 30.0 << QString() << 0LL;
    QTest::newRow("no name: the folder") << QString() << 1.0 << 31.0 << 30.0 << QString() << 0LL;
}

void TstPageView::read_window()
{
    QFETCH(QString, name);
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(double, stop);
    QFETCH(QString, text);
    QFETCH(qint64, count);
    const PageWindow w = search::read_window(m_fixture.drives(), u"C:\\\\"_s + name, from, to, stop);
    QCOMPARE(w.text, text);
    QCOMPARE(w.count, count);
}

void TstPageView::read_window_cuts_giant_lines_for_the_view()
{
    // 40,000 characters, the second 20,000 of them kanji; then a short line.
    QByteArray bytes = QByteArray(20000, 'a') + QByteArray("\x8a\xbf").repeated(20000) + "\r\nnext";
    QVERIFY(m_fixture.write("long.txt", bytes));
    const PageWindow w = search::read_window(m_fixture.drives(), u"C:\\long.txt"_s, 1, 31, 30);
    const QString expected = QString(20000, u'a') + u"漢"_s.repeated(32768 - 20000) + u" …\r\nnext\r\n"_s;
    QCOMPARE(w.text, expected);
    QCOMPARE(w.count, 2LL);
}

void TstPageView::leading_number_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    const double max = std::numeric_limits<double>::max();
    QTest::newRow("digits then letters") << u"12abc"_s << 12.0;
    QTest::newRow("negative") << u"-3"_s << -3.0;
    QTest::newRow("plus sign") << u"+4"_s << 4.0;
    QTest::newRow("fraction") << u"5.5"_s << 5.5;
    QTest::newRow("leading point") << u".5"_s << 0.5;
    QTest::newRow("trailing point") << u"7."_s << 7.0;
    QTest::newRow("exponent") << u"1e3"_s << 1000.0;
    QTest::newRow("upper-case negative exponent") << u"25E-1x"_s << 2.5;
    QTest::newRow("exponent without digits ignored") << u"7e"_s << 7.0;
    QTest::newRow("exponent sign without digits ignored") << u"7e+x"_s << 7.0;
    QTest::newRow("blanks in front skipped") << u"  \t8"_s << 8.0;
    QTest::newRow("blank after the sign ends it") << u"- 8"_s << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("letters") << u"abc"_s << 0.0;
    QTest::newRow("sign alone") << u"-"_s << 0.0;
    QTest::newRow("point alone") << u"."_s << 0.0;
    QTest::newRow("negative zero is zero") << u"-0"_s << 0.0;
    QTest::newRow("full-width digits are no number") << u"１２"_s << 0.0;
    QTest::newRow("beyond a double") << u"1e400"_s << max;
    QTest::newRow("beyond a double, negative") << u"-1e400"_s << -max;
    QTest::newRow("twenty nines") << u"99999999999999999999"_s << 1e20;
    QTest::newRow("four hundred digits") << QString(400, u'9') << max;
    QTest::newRow("huge exponent") << u"1e99999999999999999999999"_s << max;
    QTest::newRow("tiny") << u"1e-400"_s << 0.0;
    QTest::newRow("zeros with a huge exponent") << u"0.000e999999"_s << 0.0;
}

void TstPageView::leading_number()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    const double got = search::leading_number(text);
    QCOMPARE(got, value);
    QVERIFY(!std::signbit(got) || got != 0);
}

void TstPageView::format_number_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("whole") << 7.0 << u"7"_s;
    QTest::newRow("fraction") << 6.5 << u"6.5"_s;
    QTest::newRow("negative") << -3.0 << u"-3"_s;
    QTest::newRow("zero") << 0.0 << u"0"_s;
    QTest::newRow("negative zero") << -0.0 << u"0"_s;
    QTest::newRow("shortest digits") << 0.1 << u"0.1"_s;
    QTest::newRow("no exponent for a big number") << 1e20 << u"100000000000000000000"_s;
    QTest::newRow("no exponent for a small one") << 1e-7 << u"0.0000001"_s;
    QTest::newRow("shortest digits, not the exact expansion") << 1e23 << (u"1"_s + QString(23, u'0'));
    QTest::newRow("negative fraction") << -0.25 << u"-0.25"_s;
    QTest::newRow("smallest double") << 5e-324 << (u"0."_s + QString(323, u'0') + u"5"_s);
    QTest::newRow("two to the 63rd") << 9223372036854775807.0 + 1 << u"9223372036854776000"_s;
    QTest::newRow("largest double") << std::numeric_limits<double>::max()
        << (u"17976931348623157"_s + QString(292, u'0'));
}

void TstPageView::format_number()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(search::format_number(value), text);
}

void TstPageView::caption_reads_back_what_was_written()
{
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> small(-1e6, 1e6);
    for (int i = 0; i < 2000; ++i) {
        double v;
        std::memcpy(&v, &(const uint64_t &)rng(), sizeof v);
        if (!std::isfinite(v) || i % 2)
            v = small(rng);
        const QString caption = search::format_number(v);
        QVERIFY(!caption.contains(u'e') && !caption.contains(u'E'));
        QCOMPARE(caption_value(caption).value_or(std::nan("")), v == 0 ? 0.0 : v);
    }
}

void TstPageView::top_line_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("line");   // NaN: no value

    const double none = std::nan("");
    QTest::newRow("whole") << u"5"_s << 5.0;
    QTest::newRow("fraction taken down") << u"5.5"_s << 5.0;
    QTest::newRow("negative fraction taken down") << u"-2.5"_s << -3.0;
    QTest::newRow("empty has none") << QString() << none;
    QTest::newRow("text has none") << u"abc"_s << none;
    QTest::newRow("exponent is not written") << u"1e3"_s << none;
    QTest::newRow("blank is not written") << u" 5"_s << none;
    QTest::newRow("big") << u"100000000000000000000"_s << 1e20;
}

void TstPageView::top_line()
{
    QFETCH(QString, caption);
    QFETCH(double, line);
    const std::optional<double> got = search::top_line(caption);
    QCOMPARE(got.has_value(), !std::isnan(line));
    if (got)
        QCOMPARE(*got, line);
}

void TstPageView::find_phrase_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<qsizetype>("start");   // -1: none
    QTest::addColumn<qsizetype>("length");

    QTest::newRow("first occurrence") << u"ab\r\nxab\r\n"_s << u"ab"_s << qsizetype(0) << qsizetype(2);
    QTest::newRow("offset counts CR LF") << u"x\r\nab\r\n"_s << u"ab"_s << qsizetype(3) << qsizetype(2);
    QTest::newRow("case differs") << u"AB\r\n"_s << u"ab"_s << qsizetype(-1) << qsizetype(0);
    QTest::newRow("empty phrase") << u"ab\r\n"_s << QString() << qsizetype(-1) << qsizetype(0);
    QTest::newRow("empty view") << QString() << u"a"_s << qsizetype(-1) << qsizetype(0);
}

void TstPageView::find_phrase()
{
    QFETCH(QString, text);
    QFETCH(QString, phrase);
    QFETCH(qsizetype, start);
    QFETCH(qsizetype, length);
    const std::optional<Selection> s = search::find_phrase(text, phrase);
    QCOMPARE(s ? s->start : -1, start);
    QCOMPARE(s ? s->length : 0, length);
}

void TstPageView::jump_to_hit_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<qint64>("line");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("start");   // -1: nothing selected

    QTest::newRow("hit on line 1 of a long file") << make_hit_entry(u"twelve.txt"_s, 1) << u"L1"_s << 1LL << view(1, 10) << qsizetype(0);
    QTest::newRow("hit on line 5 of 7: the phrase on the hit's line")
        << make_hit_entry(u"seven.txt"_s, 5) << u"phrase"_s << 5LL
        << u"phrase and phrase\r\nf phrase\r\ng\r\n"_s << qsizetype(0);
    QTest::newRow("name with a blank and a number") << make_hit_entry(u"report 2"_s, 3) << u"report"_s << 3LL
                                                    << u"in report 2\r\n"_s << qsizetype(3);
    QTest::newRow("file deleted") << make_hit_entry(u"gone.txt"_s, 4) << u"x"_s << 4LL << QString() << qsizetype(-1);
    QTest::newRow("past the end") << make_hit_entry(u"seven.txt"_s, 9) << u"x"_s << 9LL << QString() << qsizetype(-1);
    QTest::newRow("phrase no longer there") << make_hit_entry(u"seven.txt"_s, 5) << u"zzz"_s << 5LL
                                            << u"phrase and phrase\r\nf phrase\r\ng\r\n"_s << qsizetype(-1);
}

void TstPageView::jump_to_hit()
{
    QFETCH(QString, entry);
    QFETCH(QString, phrase);
    QFETCH(qint64, line);
    QFETCH(QString, text);
    QFETCH(qsizetype, start);
    const std::optional<Jump> jump = search::jump_to_hit(m_fixture.drives(), u"C:\\"_s, entry, phrase);
    QVERIFY(jump);
    QCOMPARE(jump->line, line);
    QCOMPARE(jump->view_text, text);
    QCOMPARE(jump->selection ? jump->selection->start : -1, start);
    QVERIFY(!search::jump_to_hit(m_fixture.drives(), u"C:\\"_s, u"not an entry"_s, phrase));
}

QTEST_GUILESS_MAIN(TstPageView)
#include "tst_page_view.moc"
