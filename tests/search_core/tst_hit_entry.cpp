#include "file_path.h"
#include "hit_entry.h"
#include "page_view.h"

#include <QTest>

using namespace search;
using namespace Qt::StringLiterals;

class TstHitEntry : public QObject {
    Q_OBJECT
private slots:
    void round_trip_data();
    void round_trip();
    void other_forms_data();
    void other_forms();
    void join_path_data();
    void join_path();
    void page_path_data();
    void page_path();
};

void TstHitEntry::round_trip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("line");
    QTest::addColumn<QString>("entry");

    QTest::newRow("plain") << u"memo.txt"_s << 12LL << u"memo.txt 12 行目に見つかりました"_s;
    QTest::newRow("blank and digit in the name") << u"report 2"_s << 3LL << u"report 2 3 行目に見つかりました"_s;
    QTest::newRow("name ending in digits") << u"2024"_s << 7LL << u"2024 7 行目に見つかりました"_s;
    QTest::newRow("name of digits and blanks") << u"1 2 3"_s << 45LL << u"1 2 3 45 行目に見つかりました"_s;
    QTest::newRow("name ending in a blank") << u"a "_s << 1LL << u"a  1 行目に見つかりました"_s;
    QTest::newRow("name holding the suffix") << u"x 1 行目に見つかりました"_s << 2LL
                                             << u"x 1 行目に見つかりました 2 行目に見つかりました"_s;
    QTest::newRow("empty name") << QString() << 9LL << u" 9 行目に見つかりました"_s;
    QTest::newRow("largest 64-bit line") << u"a.txt"_s << std::numeric_limits<qint64>::max()
                                         << u"a.txt 9223372036854775807 行目に見つかりました"_s;
    QTest::newRow("escaped host byte in the name") << u"\xDC93.txt"_s << 1LL << u"\xDC93.txt 1 行目に見つかりました"_s;
}

void TstHitEntry::round_trip()
{
    QFETCH(QString, name);
    QFETCH(qint64, line);
    QFETCH(QString, entry);
    QCOMPARE(make_hit_entry(name, line), entry);
    const std::optional<HitEntryParts> parts = parse_hit_entry(entry);
    QVERIFY(parts);
    QCOMPARE(parts->name, name);
    QCOMPARE(parts->line, line);
}

void TstHitEntry::other_forms_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("empty") << QString();
    QTest::newRow("no suffix") << u"memo.txt 12"_s;
    QTest::newRow("suffix without its blank") << u"memo.txt 12行目に見つかりました"_s;
    QTest::newRow("no number") << u"memo.txt  行目に見つかりました"_s;
    QTest::newRow("no blank before the number") << u"memo.txt12 行目に見つかりました"_s;
    QTest::newRow("number alone") << u"12 行目に見つかりました"_s;
    QTest::newRow("negative") << u"a -3 行目に見つかりました"_s;
    QTest::newRow("too big for 64 bits") << u"a 9223372036854775808 行目に見つかりました"_s;
    QTest::newRow("far too big") << u"a 99999999999999999999999 行目に見つかりました"_s;
    QTest::newRow("full-width digits") << u"a １２ 行目に見つかりました"_s;
}

void TstHitEntry::other_forms()
{
    QFETCH(QString, entry);
    QVERIFY(!parse_hit_entry(entry));
}

void TstHitEntry::join_path_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("folder and name") << u"C:\\docs"_s << u"memo.txt"_s << u"C:\\docs\\memo.txt"_s;
    QTest::newRow("no name ends in a backslash") << u"C:\\docs"_s << QString() << u"C:\\docs\\"_s;
    QTest::newRow("root gives two backslashes") << u"C:\\"_s << u"a.txt"_s << u"C:\\\\a.txt"_s;
}

void TstHitEntry::join_path()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, path);
    QCOMPARE(search::join_path(folder, name), path);
}

void TstHitEntry::page_path_data()
{
    QTest::addColumn<int>("flglist");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("path");
    QTest::newRow("file list") << 0 << u"b.txt 3 行目に見つかりました"_s << u"C:\\d\\a.txt"_s;
    QTest::newRow("hit entry") << 1 << u"b c.txt 3 行目に見つかりました"_s << u"C:\\d\\b c.txt"_s;
    QTest::newRow("no entry selected") << 1 << QString() << u"C:\\d\\"_s;
}

void TstHitEntry::page_path()
{
    QFETCH(int, flglist);
    QFETCH(QString, entry);
    QFETCH(QString, path);
    QCOMPARE(search::page_path(flglist, u"C:\\d"_s, u"a.txt"_s, entry), path);
}

QTEST_GUILESS_MAIN(TstHitEntry)
#include "tst_hit_entry.moc"
