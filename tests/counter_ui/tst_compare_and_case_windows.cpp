// The comparison window Form2 and the case conversion window Form3, driven offscreen.
#include "entry_list_model.h"
#include "form2.h"
#include "form3.h"
#include "window_driver.h"

#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace driver;
using counter::Form2;
using counter::Form3;

namespace {

QStringList entries(const Form2 *window)
{
    QStringList list;
    for (qsizetype row = 0; row < window->entries()->count(); ++row)
        list.append(window->entries()->entry(row));
    return list;
}

QVariant shown(const Form2 *window, int row, int role)
{
    const QAbstractItemModel *model = control<QListView>(window, "List1")->model();
    return model->data(model->index(row, 0), role);
}

QString caption(const Form3 *window) { return control<QPushButton>(window, "Command1")->text(); }

}  // namespace

class TstCompareAndCaseWindows : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { close_all(); }

    void comparison_lists_entries_data();
    void comparison_lists_entries();
    void line_break_entries_show_marks_and_keep_characters();
    void tooltip_names_code_points();
    void second_comparison_shows_entries_once();
    void comparison_holds_input();
    void clear_empties_boxes_and_list();

    void conversion_alternates();
    void conversion_direction_survives_clear();
    void empty_text_still_switches_caption();
};

void TstCompareAndCaseWindows::comparison_lists_entries_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QStringList>("expected");

    const QString same = u"同じ文字列です。"_s;
    QTest::newRow("two empty texts are the same") << u""_s << u""_s << QStringList{same};
    QTest::newRow("equal texts with line breaks")
        << u"ab\r\ncd"_s << u"ab\r\ncd"_s << QStringList{same};
    QTest::newRow("each differing position, in order")
        << u"abc"_s << u"xbz"_s
        << QStringList{u"1 文字目の a と x が違います。"_s, u"3 文字目の c と z が違います。"_s};
    QTest::newRow("positions leave line breaks out")
        << u"ab\r\ncd"_s << u"ab\r\ncx"_s << QStringList{u"4 文字目の d と x が違います。"_s};
    QTest::newRow("shorter second text")
        << u"abc"_s << u"ab"_s << QStringList{u"3 文字目の c と  が違います。"_s};
    QTest::newRow("longer second text is not the same")
        << u"ab"_s << u"abc"_s << QStringList{u"3 文字目の  と c が違います。"_s};
    QTest::newRow("full-width blank against half-width blank")
        << u"a\u3000"_s << u"a "_s << QStringList{u"2 文字目の \u3000 と   が違います。"_s};
}

void TstCompareAndCaseWindows::comparison_lists_entries()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QStringList, expected);

    Form2 *window = show_new<Form2>();
    set_box(window, "Text1", first);
    set_box(window, "Text2", second);
    click(window, "Command1");

    QCOMPARE(entries(window), expected);
    QCOMPARE(control<QListView>(window, "List1")->model()->rowCount(), expected.size());
    QCOMPARE(box(window, "Text1"), first);
    QCOMPARE(box(window, "Text2"), second);
}

void TstCompareAndCaseWindows::line_break_entries_show_marks_and_keep_characters()
{
    Form2 *window = show_new<Form2>();
    set_box(window, "Text1", u"ab\r\ncd"_s);
    set_box(window, "Text2", u"abxycd"_s);
    click(window, "Command1");

    QCOMPARE(entries(window), (QStringList{u"3 文字目の \r と x が違います。"_s,
                                           u"2 文字目の \n と y が違います。"_s}));
    QCOMPARE(shown(window, 0, Qt::DisplayRole).toString(), u"3 文字目の ← と x が違います。"_s);
    QCOMPARE(shown(window, 1, Qt::DisplayRole).toString(), u"2 文字目の ↓ と y が違います。"_s);
    QCOMPARE(shown(window, 0, Qt::UserRole).toString(), u"3 文字目の \r と x が違います。"_s);
}

void TstCompareAndCaseWindows::tooltip_names_code_points()
{
    Form2 *window = show_new<Form2>();
    set_box(window, "Text1", u"a\u3000b\r\n"_s);
    set_box(window, "Text2", u"a b"_s);
    click(window, "Command1");

    QCOMPARE(shown(window, 0, Qt::ToolTipRole).toString(), u"U+3000 と U+0020"_s);
    QCOMPARE(shown(window, 1, Qt::ToolTipRole).toString(), u"U+000D と なし"_s);
    QCOMPARE(shown(window, 2, Qt::ToolTipRole).toString(), u"U+000A と なし"_s);

    set_box(window, "Text2", u"a\u3000b\r\n"_s);
    click(window, "Command1");
    QVERIFY(!shown(window, 0, Qt::ToolTipRole).isValid());
}

void TstCompareAndCaseWindows::second_comparison_shows_entries_once()
{
    Form2 *window = show_new<Form2>();
    set_box(window, "Text1", u"abc"_s);
    set_box(window, "Text2", u"xbz"_s);
    click(window, "Command1");
    const QStringList once = entries(window);
    click(window, "Command1");
    QCOMPARE(entries(window), once);
    QCOMPARE(control<QListView>(window, "List1")->model()->rowCount(), 2);
}

void TstCompareAndCaseWindows::comparison_holds_input()
{
    Form2 *window = show_new<Form2>();
    set_box(window, "Text1", u"abc"_s);
    set_box(window, "Text2", u"abd"_s);

    int rounds = 0;
    QTimer::singleShot(0, window, [&] {
        ++rounds;
        QTest::keyClicks(control<QPlainTextEdit>(window, "Text2"), u"zz"_s);
        click(window, "Command2");          // クリア
        click(window, "Command1");          // a second 比較 inside the first
        item(window, "mnucount")->trigger();
    });
    click(window, "Command1");

    QCOMPARE(rounds, 1);
    QCOMPARE(entries(window), QStringList{u"3 文字目の c と d が違います。"_s});
    QCOMPARE(box(window, "Text2"), u"abd"_s);
    QCOMPARE(shown_windows(), QList<counter::QuellattoWindow *>{window});
}

void TstCompareAndCaseWindows::clear_empties_boxes_and_list()
{
    Form2 *window = show_new<Form2>();
    set_box(window, "Text1", u"abc"_s);
    set_box(window, "Text2", u"xbz"_s);
    click(window, "Command1");
    click(window, "Command2");
    QCOMPARE(box(window, "Text1"), QString());
    QCOMPARE(box(window, "Text2"), QString());
    QCOMPARE(window->entries()->count(), 0);
    QCOMPARE(control<QListView>(window, "List1")->model()->rowCount(), 0);
}

void TstCompareAndCaseWindows::conversion_alternates()
{
    Form3 *window = show_new<Form3>();
    QCOMPARE(caption(window), u"小→大"_s);
    QVERIFY(window->flg());
    const QString source = u"Abc あ1\r\nｘＹ"_s;
    set_box(window, "Text1", source);

    const std::pair<QString, QString> clicks[] = {
        {u"ABC あ1\r\nＸＹ"_s, u"大→小"_s},
        {u"abc あ1\r\nｘｙ"_s, u"小→大"_s},
        {u"ABC あ1\r\nＸＹ"_s, u"大→小"_s},
    };
    for (const auto &[converted, next_caption] : clicks) {
        click(window, "Command1");
        QCOMPARE(box(window, "Text2"), converted);
        QCOMPARE(caption(window), next_caption);
        QCOMPARE(box(window, "Text1"), source);   // always converted from Text1
    }
}

void TstCompareAndCaseWindows::conversion_direction_survives_clear()
{
    Form3 *window = show_new<Form3>();
    set_box(window, "Text1", u"ab"_s);
    click(window, "Command1");
    click(window, "Command2");
    QCOMPARE(box(window, "Text1"), QString());
    QCOMPARE(box(window, "Text2"), QString());
    QCOMPARE(caption(window), u"大→小"_s);

    set_box(window, "Text1", u"XyZ"_s);
    click(window, "Command1");
    QCOMPARE(box(window, "Text2"), u"xyz"_s);
}

void TstCompareAndCaseWindows::empty_text_still_switches_caption()
{
    Form3 *window = show_new<Form3>();
    set_box(window, "Text2", u"old"_s);
    click(window, "Command1");
    QCOMPARE(box(window, "Text2"), QString());
    QCOMPARE(caption(window), u"大→小"_s);
    QVERIFY(!window->flg());
}

QTEST_MAIN(TstCompareAndCaseWindows)
#include "tst_compare_and_case_windows.moc"
