#include "cp932.h"
#include "fixture.h"
#include "search.h"

#include <random>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace search;
using namespace Qt::StringLiterals;

using Lines = QList<qint64>;

class TstSearch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_fixture.valid()); }
    void search_file_data();
    void search_file();
    void file_that_cannot_be_opened();
    void read_error_is_no_success();
    void shortcut_agrees_with_decoding_every_line();
    void giant_line_in_bounded_memory();
    void search_folder_data();
    void search_folder();
    void every_position_of_a_long_list_is_visited();

private:
    Fixture m_fixture;
};

struct Found {
    Lines lines;
    FileSearchResult result;
};

static Found run(TextFile &file, const QString &phrase, const SearchTuning &tuning)
{
    Found found;
    found.result = search_text_file(file, phrase, [&](qint64 line) { found.lines.append(line); }, tuning);
    return found;
}

void TstSearch::search_file_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<Lines>("hits");
    QTest::addColumn<qint64>("lines");
    QTest::addColumn<bool>("not_found");

    const QByteArray seven = "one\r\nmemo here\r\nthree\r\nfour\r\nmemo memo\r\nsix\r\nseven"_ba;
    QTest::newRow("hits on lines 2 and 5, twice on a line is one hit") << seven << u"memo"_s << Lines{2, 5} << 7LL << false;
    QTest::newRow("case differs") << "ABC\r\n"_ba << u"abc"_s << Lines{} << 1LL << true;
    QTest::newRow("half-width is not full-width") << "\x83\x4a\x83\x5e\x83\x4a\x83\x69"_ba << u"ｶﾀｶﾅ"_s << Lines{} << 1LL << true;
    QTest::newRow("leading blank is kept") << "x\r\n  indented\r\nindented"_ba << u" indented"_s << Lines{2} << 3LL << false;
    QTest::newRow("zero bytes: no line, no signal") << ""_ba << u"a"_s << Lines{} << 0LL << false;
    QTest::newRow("one line without the phrase") << "abc"_ba << u"z"_s << Lines{} << 1LL << true;
    QTest::newRow("blank lines at the top count") << "\r\n\r\nfound\r\n"_ba << u"found"_s << Lines{3} << 3LL << false;
    QTest::newRow("last line without CR LF") << "a\r\nb\r\nzz"_ba << u"zz"_s << Lines{3} << 3LL << false;
    QTest::newRow("kanji") << "\x93\x8c\x8b\x9e\x93\x73\x92\xa1\r\n\x93\x8c\x8b\x9e\r\n"_ba << u"東京都庁"_s << Lines{1} << 2LL << false;
    QTest::newRow("trail byte is no character of its own") << "\x82\xb1\r\n\xb1"_ba << u"ｱ"_s << Lines{2} << 2LL << false;
    // 亜亜 is 88 9F 88 9F; its middle bytes 9F 88 are another kanji, which is not in the line.
    QTest::newRow("bytes across two characters are no hit") << "\x88\x9f\x88\x9f"_ba << cp932::decode("\x9f\x88"_ba) << Lines{} << 1LL << true;
    QTest::newRow("phrase never spans a line end") << "ab\r\ncd"_ba << u"b\r\nc"_s << Lines{} << 2LL << true;
    QTest::newRow("lone CR inside a line") << "a\rb\r\n"_ba << u"a\rb"_s << Lines{1} << 1LL << false;
    QTest::newRow("line ending in CR") << "a\r\r\nb"_ba << u"a\r"_s << Lines{1} << 2LL << false;
    QTest::newRow("replacement character finds a bad byte") << "ok\r\n\x80\r\n\x82"_ba << u"\uFFFD"_s << Lines{2, 3} << 3LL << false;
    QTest::newRow("both encodings of one character") << "\x81\xe0\r\nx\r\n\x87\x90"_ba << u"≒"_s << Lines{1, 3} << 3LL << false;
    QTest::newRow("character no byte decodes to") << "a\r\nb\r\n"_ba << u"😀"_s << Lines{} << 2LL << true;
    QTest::newRow("empty phrase: every line that is not empty") << "a\r\n\r\nb\r\n"_ba << QString() << Lines{1, 3} << 3LL << false;
    QTest::newRow("empty phrase on empty lines") << "\r\n\r\n"_ba << QString() << Lines{} << 2LL << true;
}

// Every row runs on both line tests and on buffers small enough that CR LF, a character
// and the phrase's bytes meet the buffer's edges.
void TstSearch::search_file()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, phrase);
    QFETCH(Lines, hits);
    QFETCH(qint64, lines);
    QFETCH(bool, not_found);
    QVERIFY(m_fixture.write("f.txt", bytes));

    Lines got;
    const FileSearchResult r = search::search_file(m_fixture.drives(), u"C:\\"_s, u"f.txt"_s, phrase,
                                                   [&](qint64 line) { got.append(line); });
    QCOMPARE(got, hits);
    QCOMPARE(r.lines, lines);
    QCOMPARE(r.not_found, not_found);
    QVERIFY(r.opened);
    QVERIFY(!r.read_error);

    for (const LineTest test : {LineTest::Shortcut, LineTest::DecodeEveryLine}) {
        for (const qsizetype size : {16, 17, 18, 19, 20, 21}) {
            std::optional<TextFile> file = TextFile::open(m_fixture.drives(), u"C:\\f.txt"_s);
            QVERIFY(file);
            const Found found = run(*file, phrase, {test, size});
            QCOMPARE(found.lines, hits);
            QCOMPARE(found.result.lines, lines);
        }
    }
}

void TstSearch::file_that_cannot_be_opened()
{
    QVERIFY(::mkfifo(m_fixture.host("x.txt").constData(), 0644) == 0);
    for (const QString &name : {u"missing.txt"_s, u"x.txt"_s, QString()}) {
        bool called = false;
        const FileSearchResult r = search::search_file(m_fixture.drives(), u"C:\\"_s, name, u"a"_s,
                                                       [&](qint64) { called = true; });
        QVERIFY(!r.opened);
        QVERIFY(r.not_found);
        QVERIFY(!called);
    }
}

void TstSearch::read_error_is_no_success()
{
    // A process's memory file opens as a regular file, and reading its first page fails.
    const DriveMap host = DriveMap::with_root("/");
    Lines got;
    const FileSearchResult r = search::search_file(host, u"C:\\proc\\self"_s, u"mem"_s, u"a"_s,
                                                   [&](qint64 line) { got.append(line); });
    if (!r.opened)
        QSKIP("this system does not open /proc/self/mem");
    QVERIFY(r.read_error);
    QVERIFY(r.not_found);
    QCOMPARE(r.lines, 0LL);
    QVERIFY(got.isEmpty());
}

// Plain reference: split the bytes at CR LF, decode each line, look for the phrase.
static Lines reference_hits(const QByteArray &bytes, const QString &phrase, qint64 *lines)
{
    Lines hits;
    qint64 number = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf("\r\n", start);
        const qsizetype next = end < 0 ? bytes.size() : end + 2;
        if (end < 0)
            end = bytes.size();
        ++number;
        const QString line = cp932::decode(QByteArrayView(bytes).sliced(start, end - start));
        if (phrase.isEmpty() ? !line.isEmpty() : line.contains(phrase))
            hits.append(number);
        start = next;
    }
    *lines = number;
    return hits;
}

void TstSearch::shortcut_agrees_with_decoding_every_line()
{
    std::mt19937 rng(20261211);
    // Hostile bytes: line ends, lone CR and LF, lead bytes with and without their trail,
    // bytes that are never characters, characters with two encodings, kanji, kana.
    const QList<QByteArray> pieces = {
        "\r\n", "\r", "\n", "\r\r\n", "\x81", "\x82", "\x9f", "\xe0", "\xfc", "\x80", "\xa0", "\xfd",
        "\xff", "\x40", "\x7e", "a", "b", " ", "\x82\xa0", "\x82\xb1", "\xb1", "\x81\xe0", "\x87\x90",
        "\xfa\x40", "\xee\xef", "\x93\x8c\x8b\x9e", "\x93\x73\x92\xa1", "\x85\x40", "\x5c", "\x81\x5f",
    };
    auto random_bytes = [&](int pieces_count) {
        QByteArray bytes;
        for (int i = 0; i < pieces_count; ++i)
            bytes += rng() % 4 ? pieces.at(int(rng() % pieces.size())) : QByteArray(1, char(rng() % 256));
        return bytes;
    };
    const QStringList fixed_phrases = {
        u"a"_s, u"ab"_s, u"\r"_s, u"\n"_s, u"a\r"_s, u"あ"_s, u"ｱ"_s, u"こ"_s, u"≒"_s, u"ⅰ"_s,
        u"\uFFFD"_s, u"\uFFFD\uFFFD"_s, u"a\uFFFD"_s, u"東京"_s, u"東京都庁"_s, u"@"_s, u"\\"_s,
        u"＼"_s, u"😀"_s, QString(),
    };
    int compared = 0;
    for (int round = 0; round < 400; ++round) {
        const QByteArray bytes = random_bytes(int(rng() % 120));
        QVERIFY(m_fixture.write("d.txt", bytes));
        QStringList phrases = fixed_phrases;
        // Phrases cut from the decoded text itself, so that many of them are hits.
        const QString text = cp932::decode(bytes);
        for (int i = 0; i < 4 && !text.isEmpty(); ++i) {
            const qsizetype at = qsizetype(rng() % text.size());
            phrases.append(text.mid(at, qsizetype(1 + rng() % 4)));
        }
        for (const QString &phrase : phrases) {
            qint64 lines = 0;
            const Lines expected = reference_hits(bytes, phrase, &lines);
            for (const LineTest test : {LineTest::Shortcut, LineTest::DecodeEveryLine}) {
                for (const qsizetype size : {16, 23, 64}) {
                    std::optional<TextFile> file = TextFile::open(m_fixture.drives(), u"C:\\d.txt"_s);
                    QVERIFY(file);
                    const Found found = run(*file, phrase, {test, size});
                    if (found.lines != expected)
                        qWarning() << "bytes" << bytes.toHex() << "phrase" << phrase << "buffer" << size;
                    QCOMPARE(found.lines, expected);
                    QCOMPARE(found.result.lines, lines);
                    ++compared;
                }
            }
        }
    }
    QVERIFY(compared > 10000);
}

static long peak_rss_kib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void TstSearch::giant_line_in_bounded_memory()
{
    // 192 MiB without a line end, the phrase near its end, then a short second line.
    // 亜亜 (88 9F 88 9F) holds the bytes of another kanji (9F 88) across its characters.
    const QByteArray block = QByteArray("\x82\xa0\x82\xa2 abc \x93\x8c\x8b\x9e \x88\x9f\x88\x9f").repeated(4096);
    const QString across = cp932::decode("\x9f\x88"_ba);
    const qint64 target = 192LL << 20;
    {
        const int fd = ::open(m_fixture.host("giant.txt").constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY(fd >= 0);
        for (qint64 written = 0; written < target; written += block.size())
            QCOMPARE(::write(fd, block.constData(), size_t(block.size())), ssize_t(block.size()));
        const QByteArray tail = "\x93\x8c\x8b\x9e\x93\x73\x92\xa1\r\nlast";
        QCOMPARE(::write(fd, tail.constData(), size_t(tail.size())), ssize_t(tail.size()));
        ::close(fd);
    }
    const long before = peak_rss_kib();
    for (const LineTest test : {LineTest::Shortcut, LineTest::DecodeEveryLine}) {
        for (const QString &phrase : {u"東京都庁"_s, u"zzqq"_s, u"\uFFFD"_s, across}) {
            std::optional<TextFile> file = TextFile::open(m_fixture.drives(), u"C:\\giant.txt"_s);
            QVERIFY(file);
            const Found found = run(*file, phrase, {test, 0});
            QCOMPARE(found.lines, phrase == u"東京都庁"_s ? Lines{1} : Lines{});
            QCOMPARE(found.result.lines, 2LL);
        }
    }
    // The line is 192 MiB; the search holds a buffer and a piece of it.
    QVERIFY2(peak_rss_kib() - before < 32 * 1024, qPrintable(QString::number(peak_rss_kib() - before)));
    QVERIFY(::unlink(m_fixture.host("giant.txt").constData()) == 0);
}

using Hits = QList<std::pair<qsizetype, qint64>>;

void TstSearch::search_folder_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<Hits>("hits");
    QTest::addColumn<int>("outcome");

    const QStringList all = {u"a.txt"_s, u"b.txt"_s, u"empty.txt"_s, u"none.txt"_s};
    QTest::newRow("empty phrase searches nothing") << all << QString() << Hits{} << int(FolderOutcome::NoPhrase);
    QTest::newRow("no names: finished") << QStringList() << u"x"_s << Hits{} << int(FolderOutcome::Finished);
    QTest::newRow("no hit anywhere: nothing found") << all << u"zzz"_s << Hits{} << int(FolderOutcome::NothingFound);
    QTest::newRow("line numbers restart per file") << all << u"key"_s << Hits{{0, 3}, {1, 3}} << int(FolderOutcome::Finished);
    QTest::newRow("hits in the first file only") << all << u"only-a"_s << Hits{{0, 1}} << int(FolderOutcome::Finished);
    QTest::newRow("unreadable file in the middle") << QStringList({u"a.txt"_s, u"gone.txt"_s, u"b.txt"_s}) << u"key"_s
                                                   << Hits{{0, 3}, {2, 3}} << int(FolderOutcome::Finished);
    QTest::newRow("by position: a name listed twice") << QStringList({u"b.txt"_s, u"b.txt"_s}) << u"key"_s
                                                      << Hits{{0, 3}, {1, 3}} << int(FolderOutcome::Finished);
    QTest::newRow("nothing found ends on an unreadable file") << QStringList({u"a.txt"_s, u"gone.txt"_s}) << u"zzz"_s
                                                              << Hits{} << int(FolderOutcome::NothingFound);
    QTest::newRow("only a zero-byte file") << QStringList({u"empty.txt"_s}) << u"x"_s << Hits{} << int(FolderOutcome::NothingFound);
}

void TstSearch::search_folder()
{
    QFETCH(QStringList, names);
    QFETCH(QString, phrase);
    QFETCH(Hits, hits);
    QFETCH(int, outcome);
    QVERIFY(m_fixture.write("a.txt", "only-a\r\nx\r\nkey key\r\n"));
    QVERIFY(m_fixture.write("b.txt", "x\r\ny\r\nkey\r\n"));
    QVERIFY(m_fixture.write("empty.txt", ""));
    QVERIFY(m_fixture.write("none.txt", "nothing\r\n"));
    Hits got;
    const FolderOutcome o = search::search_folder(m_fixture.drives(), u"C:\\"_s, names, phrase,
                                                  [&](qsizetype at, qint64 line) { got.append({at, line}); });
    QCOMPARE(got, hits);
    QCOMPARE(int(o), outcome);
}

void TstSearch::every_position_of_a_long_list_is_visited()
{
    // Far more names than a 16-bit count holds: the hit at the end is still found.
    QVERIFY(m_fixture.write("last.txt", "x\r\nfound\r\n"));
    QStringList names(70000, u"gone.txt"_s);
    names.last() = u"last.txt"_s;
    Hits got;
    const FolderOutcome o = search::search_folder(m_fixture.drives(), u"C:\\"_s, names, u"found"_s,
                                                  [&](qsizetype at, qint64 line) { got.append({at, line}); });
    QCOMPARE(got, (Hits{{69999, 2}}));
    QCOMPARE(o, FolderOutcome::Finished);
}

QTEST_GUILESS_MAIN(TstSearch)
#include "tst_search.moc"
