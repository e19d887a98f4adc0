// List1's model: a compact store that reads back exactly as a list of entry texts.
#include "hit_entry.h"
#include "hit_list_model.h"

#include <QSignalSpy>
#include <QTest>

using namespace search;
using namespace Qt::StringLiterals;

using Appends = QList<QPair<QString, qint64>>;

class TstHitListModel : public QObject {
    Q_OBJECT
private slots:
    void reads_as_list_data();
    void reads_as_list();
    void clear_and_reuse();
    void view_rows_follow_commits();
    void paced_commits();
};

void TstHitListModel::reads_as_list_data()
{
    QTest::addColumn<Appends>("appends");

    QTest::newRow("nothing") << Appends{};
    QTest::newRow("one entry") << Appends{{u"memo.txt"_s, 12}};
    QTest::newRow("one run of a file") << Appends{{u"a.txt"_s, 1}, {u"a.txt"_s, 2}, {u"a.txt"_s, 9}};
    QTest::newRow("runs of several files")
        << Appends{{u"a.txt"_s, 3}, {u"b.txt"_s, 3}, {u"b.txt"_s, 4}, {u"c.txt"_s, 1}};
    QTest::newRow("a file again after another")
        << Appends{{u"a.txt"_s, 1}, {u"b.txt"_s, 1}, {u"a.txt"_s, 2}};
    QTest::newRow("names with blanks and digits, and an empty name")
        << Appends{{u"report 2"_s, 3}, {QString(), 5}, {u"1 2 3"_s, 4}};
    QTest::newRow("64-bit line numbers") << Appends{{u"big.txt"_s, 4'294'967'296LL},
                                                    {u"big.txt"_s, 9'223'372'036'854'775'807LL}};
}

// Every entry reads back as make_hit_entry's text, in the order appended, and
// parse_hit_entry gives back what went in.
void TstHitListModel::reads_as_list()
{
    QFETCH(Appends, appends);
    HitListModel model;
    QStringList expected;
    for (const auto &[name, line] : appends) {
        model.append(name, line);
        expected << make_hit_entry(name, line);
    }
    QCOMPARE(model.count(), expected.size());
    QStringList texts;
    for (qsizetype i = 0; i < model.count(); ++i)
        texts << model.text_at(i);
    QCOMPARE(texts, expected);
    QCOMPARE(model.text_at(-1), QString());
    QCOMPARE(model.text_at(model.count()), QString());
    for (qsizetype i = 0; i < appends.size(); ++i) {
        const auto parts = parse_hit_entry(model.text_at(i));
        QVERIFY(parts);
        QCOMPARE(parts->name, appends[i].first);
        QCOMPARE(parts->line, appends[i].second);
    }
}

void TstHitListModel::clear_and_reuse()
{
    HitListModel model;
    model.append(u"a.txt"_s, 1);
    model.append(u"a.txt"_s, 2);
    model.commit();
    model.clear();
    QCOMPARE(model.count(), 0);
    QCOMPARE(model.rowCount(), 0);
    // The first entry after a clear starts a run of its own, even with the same name.
    model.append(u"a.txt"_s, 7);
    QCOMPARE(model.count(), 1);
    QCOMPARE(model.text_at(0), u"a.txt 7 行目に見つかりました"_s);
}

void TstHitListModel::view_rows_follow_commits()
{
    HitListModel model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    for (int i = 1; i <= 1000; ++i)
        model.append(u"a.txt"_s, i);
    // Counted at once, shown in one batch when events run.
    QCOMPARE(model.count(), 1000);
    QCOMPARE(model.rowCount(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(model.rowCount(), 1000);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(model.data(model.index(999)).toString(), u"a.txt 1000 行目に見つかりました"_s);

    model.append(u"b.txt"_s, 1);
    model.commit();
    QCOMPARE(model.rowCount(), 1001);
    QCOMPARE(inserted.size(), 2);
    QCoreApplication::processEvents();   // the queued commit finds nothing left
    QCOMPARE(inserted.size(), 2);
}

// Paced: the first rows reach the view at once, later ones when the interval has passed,
// by themselves; the model counts and reads every entry all along.
void TstHitListModel::paced_commits()
{
    HitListModel model;
    model.pace_commits(2, 200);
    model.append(u"a.txt"_s, 1);
    model.commit_if_due();
    QCOMPARE(model.rowCount(), 1);
    model.append(u"a.txt"_s, 2);
    model.commit_if_due();   // fewer than 2 rows shown: due at once
    QCOMPARE(model.rowCount(), 2);
    model.append(u"b.txt"_s, 1);
    model.commit_if_due();   // not yet
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.count(), 3);
    QCOMPARE(model.text_at(2), u"b.txt 1 行目に見つかりました"_s);
    QTRY_COMPARE_WITH_TIMEOUT(model.rowCount(), 3, 2000);

    model.append(u"b.txt"_s, 2);
    model.commit();   // at once, paced or not
    QCOMPARE(model.rowCount(), 4);
}

QTEST_MAIN(TstHitListModel)
#include "tst_hit_list_model.moc"
