#include "fixture.h"
#include "line_reader.h"

using namespace search;
using namespace Qt::StringLiterals;

class TstLineReader : public QObject {
    Q_OBJECT
private slots:
    void crlf_helpers_data();
    void crlf_helpers();
    void lines_data();
    void lines();
    void skip_counts_the_same_lines_data() { lines_data(); }
    void skip_counts_the_same_lines();
    void skip_lines_in_bulk_data() { lines_data(); }
    void skip_lines_in_bulk();
    void long_line_cut_for_the_view_data();
    void long_line_cut_for_the_view();

private:
    Fixture m_fixture;
};

void TstLineReader::crlf_helpers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<qsizetype>("first");
    QTest::addColumn<qsizetype>("after_last");

    QTest::newRow("none") << "abc"_ba << 0LL << qsizetype(-1) << qsizetype(0);
    QTest::newRow("lone CR and LF") << "a\rb\nc\n\r"_ba << 0LL << qsizetype(-1) << qsizetype(0);
    QTest::newRow("one at the front") << "\r\nab"_ba << 1LL << qsizetype(0) << qsizetype(2);
    QTest::newRow("CR CR LF") << "\r\r\n"_ba << 1LL << qsizetype(1) << qsizetype(3);
    QTest::newRow("LF CR LF") << "\n\r\n"_ba << 1LL << qsizetype(1) << qsizetype(3);
    QTest::newRow("CR at the end pairs with nothing") << "a\r\nb\r"_ba << 1LL << qsizetype(1) << qsizetype(3);
    // Past sixteen bytes the count runs sixteen lanes at a time; pairs across lanes count.
    QTest::newRow("pairs across the lanes")
        << (QByteArray(15, 'x') + "\r\n" + QByteArray(14, 'y') + "\r\n\r\n" + QByteArray(40, 'z') + "\r\n")
        << 4LL << qsizetype(15) << qsizetype(77);
    // Every other lane holds a pair in every block: the lane counters fill to their limit.
    QTest::newRow("many pairs in every lane") << QByteArray("\r\n").repeated(5000) + "x"
                                              << 5000LL << qsizetype(0) << qsizetype(10000);
}

void TstLineReader::crlf_helpers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, count);
    QFETCH(qsizetype, first);
    QFETCH(qsizetype, after_last);
    QCOMPARE(count_crlf(bytes.constData(), bytes.size()), count);
    QCOMPARE(find_crlf(bytes.constData(), bytes.size()), first);
    QCOMPARE(end_of_last_crlf(bytes.constData(), bytes.size()), after_last);
}

void TstLineReader::lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("zero bytes: no line") << ""_ba << QStringList();
    QTest::newRow("one CR LF: one empty line") << "\r\n"_ba << QStringList({u""_s});
    QTest::newRow("blank lines are lines") << "abc\r\n\r\n"_ba << QStringList({u"abc"_s, u""_s});
    QTest::newRow("last line without CR LF") << "a\r\nb"_ba << QStringList({u"a"_s, u"b"_s});
    QTest::newRow("lone CR and LF are characters") << "a\rb\nc"_ba << QStringList({u"a\rb\nc"_s});
    QTest::newRow("CR before the line end stays") << "a\r\r\n\nb"_ba << QStringList({u"a\r"_s, u"\nb"_s});
    QTest::newRow("nothing trimmed") << " a\t \r\n"_ba << QStringList({u" a\t "_s});
    QTest::newRow("decoded") << "\x93\x8c\x8b\x9e\r\n\xb6\xc0"_ba << QStringList({u"東京"_s, u"ｶﾀ"_s});
    QTest::newRow("lead byte before the line end") << "\x82\r\nx"_ba << QStringList({u"\uFFFD"_s, u"x"_s});
    QTest::newRow("long lines across reads")
        << (QByteArray(40, 'a') + "\r\n" + QByteArray(33, '\x80') + "\r\n\r\n" + QByteArray(50, 'b'))
        << QStringList({QString(40, u'a'), QString(33, QChar(0xFFFD)) , u""_s, QString(50, u'b')});
    QTest::newRow("line far longer than the buffer, then more")
        << (QByteArray("ab\r").repeated(30) + "\r\n" + QByteArray(70, 'c') + "\r\nd")
        << QStringList({QString::fromLatin1(QByteArray("ab\r").repeated(30)), QString(70, u'c'), u"d"_s});
    QTest::newRow("pairs split by reads")
        << QByteArray("\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0").repeated(4)
        << QStringList({u"あ"_s.repeated(36)});
}

// The reads in the tests below use buffers of 16 to 23 bytes as well as the usual size,
// so that a CR LF, a lead/trail pair and a line's end meet every buffer edge.
static QList<qsizetype> capacities()
{
    return {16, 17, 18, 19, 20, 21, 22, 23, default_read_buffer};
}

void TstLineReader::lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QVERIFY(m_fixture.write("f.txt", bytes));
    for (const qsizetype capacity : capacities()) {
        std::optional<TextFile> file = TextFile::open(m_fixture.drives(), u"C:\\f.txt"_s);
        QVERIFY(file);
        LineReader reader(*file, capacity);
        QStringList got;
        while (reader.next_line())
            got.append(reader.line().toString());
        QCOMPARE(got, lines);
        QVERIFY(!reader.next_line());
        QVERIFY(!reader.failed());
    }
}

void TstLineReader::skip_counts_the_same_lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QVERIFY(m_fixture.write("f.txt", bytes));
    for (const qsizetype capacity : capacities()) {
        std::optional<TextFile> file = TextFile::open(m_fixture.drives(), u"C:\\f.txt"_s);
        QVERIFY(file);
        LineReader reader(*file, capacity);
        qsizetype count = 0;
        while (reader.skip_line())
            ++count;
        QCOMPARE(count, lines.size());
    }
}

void TstLineReader::skip_lines_in_bulk()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QVERIFY(m_fixture.write("f.txt", bytes));
    for (const qsizetype capacity : capacities()) {
        for (qsizetype k = 0; k <= lines.size() + 1; ++k) {
            std::optional<TextFile> file = TextFile::open(m_fixture.drives(), u"C:\\f.txt"_s);
            QVERIFY(file);
            LineReader reader(*file, capacity);
            QCOMPARE(reader.skip_lines(k), std::min<qint64>(k, lines.size()));
            // Reading goes on at the line after the skipped ones.
            QCOMPARE(reader.next_line(), k < lines.size());
            if (k < lines.size())
                QCOMPARE(reader.line().toString(), lines.at(k));
        }
    }
}

void TstLineReader::long_line_cut_for_the_view_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qsizetype>("max_chars");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("cut");

    QTest::newRow("shorter") << "abc"_ba << qsizetype(5) << u"abc"_s << false;
    QTest::newRow("exactly the limit") << "abcde\r\nz"_ba << qsizetype(5) << u"abcde"_s << false;
    QTest::newRow("one more") << "abcdef\r\nz"_ba << qsizetype(5) << u"abcde"_s << true;
    QTest::newRow("far longer") << (QByteArray(100, 'x') + "\r\nz") << qsizetype(5) << u"xxxxx"_s << true;
    QTest::newRow("pending lead byte is one more") << "abcde\x82"_ba << qsizetype(5) << u"abcde"_s << true;
}

void TstLineReader::long_line_cut_for_the_view()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qsizetype, max_chars);
    QFETCH(QString, line);
    QFETCH(bool, cut);
    QVERIFY(m_fixture.write("f.txt", bytes));
    for (const qsizetype capacity : capacities()) {
        std::optional<TextFile> file = TextFile::open(m_fixture.drives(), u"C:\\f.txt"_s);
        QVERIFY(file);
        LineReader reader(*file, capacity);
        QVERIFY(reader.next_line(max_chars));
        QCOMPARE(reader.line().toString(), line);
        QCOMPARE(reader.line_cut(), cut);
        // The next line starts after the cut line's CR LF.
        if (bytes.contains("\r\nz")) {
            QVERIFY(reader.next_line(max_chars));
            QCOMPARE(reader.line().toString(), u"z"_s);
        }
        QVERIFY(!reader.next_line(max_chars));
    }
}

QTEST_GUILESS_MAIN(TstLineReader)
#include "tst_line_reader.moc"
