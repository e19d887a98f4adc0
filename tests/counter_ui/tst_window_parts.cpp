// The pieces the windows are built from: the paragraph boxes' text, List1's entries,
// and the pump of a pass.
#include "app_setup.h"
#include "entry_list_model.h"
#include "event_pump.h"
#include "form1.h"
#include "paragraph_text.h"
#include "window_driver.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QThread>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace driver;

class TstWindowParts : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { close_all(); }

    void box_text_round_trip_data();
    void box_text_round_trip();
    void written_line_ends_become_line_breaks_data();
    void written_line_ends_become_line_breaks();
    void write_back_can_be_undone();

    void entries_round_trip_data();
    void entries_round_trip();
    void entries_reach_view_on_flush();
    void long_list_fills_in_doubling_batches();

    void pump_runs_events_only_every_few_ms();
    void pump_holds_input_while_it_lives();
    void pump_stops_pass_of_closing_window();

    void toolkit_texts_are_japanese();
};

void TstWindowParts::box_text_round_trip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << u""_s;
    QTest::newRow("one line") << u"abc"_s;
    QTest::newRow("line break kept") << u"ab\r\ncd"_s;
    QTest::newRow("empty lines and a final line break") << u"\r\n\r\na\r\n"_s;
    QTest::newRow("no-break space is no blank") << u"a\u00A0b"_s;
    QTest::newRow("line separator is one character") << u"a\u2028b"_s;
    QTest::newRow("surrogate pair and full-width blank") << u"\U0001F600\u3000x"_s;
    QTest::newRow("only line breaks") << u"\r\n\r\n\r\n"_s;
    QTest::newRow("line break first, text last") << u"\r\n漢字"_s;
    // Thousands of lines of every short length, empty ones among them: each run between
    // breaks lands in its own place, not shifted by the breaks before or after it.
    QString many;
    for (int i = 0; i < 5000; ++i)
        many += QString(i % 7, QChar(u'あ' + i % 40)) + u"\r\n"_s;
    QTest::newRow("thousands of lines") << many + u"end"_s;
}

void TstWindowParts::box_text_round_trip()
{
    QFETCH(QString, text);
    QPlainTextEdit box;
    counter::set_box_text(&box, text);
    QCOMPARE(counter::box_text(&box), text);
}

void TstWindowParts::written_line_ends_become_line_breaks_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("read");
    QTest::newRow("lone LF") << u"a\nb"_s << u"a\r\nb"_s;
    QTest::newRow("lone CR") << u"a\rb"_s << u"a\r\nb"_s;
    QTest::newRow("LF CR is two breaks") << u"a\n\rb"_s << u"a\r\n\r\nb"_s;
    QTest::newRow("paragraph separator") << u"a\u2029b"_s << u"a\r\nb"_s;
}

void TstWindowParts::written_line_ends_become_line_breaks()
{
    QFETCH(QString, written);
    QFETCH(QString, read);
    QPlainTextEdit box;
    counter::set_box_text(&box, written);
    QCOMPARE(counter::box_text(&box), read);
}

void TstWindowParts::write_back_can_be_undone()
{
    QPlainTextEdit box;
    counter::set_box_text(&box, u"ab\r\ncd"_s);
    counter::set_box_text(&box, u"x"_s);
    box.undo();
    QCOMPARE(counter::box_text(&box), u"ab\r\ncd"_s);
}

void TstWindowParts::entries_round_trip_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("tooltip");

    QTest::newRow("two characters")
        << u"3 文字目の c と d が違います。"_s << u"3 文字目の c と d が違います。"_s
        << u"U+0063 と U+0064"_s;
    QTest::newRow("CR against a blank")
        << u"12 文字目の \r と   が違います。"_s << u"12 文字目の ← と   が違います。"_s
        << u"U+000D と U+0020"_s;
    QTest::newRow("other controls as their pictures")
        << u"4 文字目の \x01 と \x7F が違います。"_s << u"4 文字目の ␁ と ␡ が違います。"_s
        << u"U+0001 と U+007F"_s;
    QTest::newRow("second text shorter")
        << u"3 文字目の \n と  が違います。"_s << u"3 文字目の ↓ と  が違います。"_s
        << u"U+000A と なし"_s;
    QTest::newRow("first text shorter, its blank missing")
        << u"3 文字目の  と   が違います。"_s << u"3 文字目の  と   が違います。"_s
        << u"なし と U+0020"_s;
    QTest::newRow("the character と itself")
        << u"5 文字目の と と と が違います。"_s << u"5 文字目の と と と が違います。"_s
        << u"U+3068 と U+3068"_s;
    QTest::newRow("half of a surrogate pair")
        << u"1 文字目の \xD83D と a が違います。"_s << u"1 文字目の \xD83D と a が違います。"_s
        << u"U+D83D と U+0061"_s;
    QTest::newRow("large position")
        << u"9876543210 文字目の a と b が違います。"_s << u"9876543210 文字目の a と b が違います。"_s
        << u"U+0061 と U+0062"_s;
    QTest::newRow("same-text entry kept as it is")
        << u"同じ文字列です。"_s << u"同じ文字列です。"_s << QString();
    QTest::newRow("unknown text kept as it is, controls marked")
        << u"x\ty"_s << u"x→y"_s << QString();
}

void TstWindowParts::entries_round_trip()
{
    QFETCH(QString, entry);
    QFETCH(QString, display);
    QFETCH(QString, tooltip);

    counter::EntryListModel model;
    model.add(u"同じ文字列です。"_s);
    model.add(entry);
    model.flush();
    QCOMPARE(model.entry(1), entry);
    const QModelIndex index = model.index(1, 0);
    QCOMPARE(model.data(index, Qt::DisplayRole).toString(), display);
    QCOMPARE(model.data(index, Qt::UserRole).toString(), entry);
    QCOMPARE(model.data(index, Qt::ToolTipRole).toString(), tooltip);
    QCOMPARE(model.entry(0), u"同じ文字列です。"_s);
}

void TstWindowParts::entries_reach_view_on_flush()
{
    counter::EntryListModel model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    for (int i = 1; i <= 3; ++i)
        model.add(u"%1 文字目の a と b が違います。"_s.arg(i));
    QCOMPARE(model.count(), 3);
    QCOMPARE(model.rowCount(), 0);
    model.flush();
    model.flush();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(inserted.size(), 1);   // one batch
    model.clear();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.entry(0), QString());
}

void TstWindowParts::long_list_fills_in_doubling_batches()
{
    counter::EntryListModel model;
    const QString entry = u"1 文字目の a と b が違います。"_s;
    model.add(entry);
    model.flush_batch();
    QCOMPARE(model.rowCount(), 1);            // a short list shows every entry at once

    for (int i = 1; i < 5000; ++i)
        model.add(entry);
    model.flush_batch();
    QCOMPARE(model.rowCount(), 5000);
    for (int i = 0; i < 4999; ++i)
        model.add(entry);
    model.flush_batch();
    QCOMPARE(model.rowCount(), 5000);         // fewer waiting than shown
    model.add(entry);
    model.flush_batch();
    QCOMPARE(model.rowCount(), 10000);
}

void TstWindowParts::pump_runs_events_only_every_few_ms()
{
    counter::Form1 *window = show_new<counter::Form1>();
    counter::EventPump pump(window);
    int hooks = 0;
    pump.set_before_events([&] { ++hooks; });

    QVERIFY(pump.run_events());
    int fired = 0;
    QTimer::singleShot(0, window, [&] { ++fired; });
    QVERIFY(pump.poll());
    QCOMPARE(fired, 0);        // the last round is too recent
    QThread::msleep(counter::EventPump::interval_ms + 2);
    QVERIFY(pump.poll());
    QCOMPARE(fired, 1);
    QCOMPARE(hooks, 2);
    QVERIFY(window->pass_running());
}

void TstWindowParts::pump_holds_input_while_it_lives()
{
    counter::Form1 *window = show_new<counter::Form1>();
    auto *text4 = control<QLineEdit>(window, "Text4");
    {
        counter::EventPump pump(window);
        QTest::keyClicks(text4, u"ab"_s);
        QCOMPARE(text4->text(), QString());
    }
    QVERIFY(!window->pass_running());
    QTest::keyClicks(text4, u"ab"_s);
    QCOMPARE(text4->text(), u"ab"_s);
}

void TstWindowParts::pump_stops_pass_of_closing_window()
{
    QPointer<counter::Form1> window = show_new<counter::Form1>();
    {
        counter::EventPump pump(window);
        QTimer::singleShot(0, window, [&] { window->close(); });
        QVERIFY(!pump.run_events());
        QVERIFY(!pump.poll());
        // The close waits for the pass: the window is still there, and shown.
        QVERIFY(!window.isNull());
        QVERIFY(window->isVisible());
    }
    QVERIFY(!window->isVisible());
    QTRY_VERIFY(window.isNull());
}

void TstWindowParts::toolkit_texts_are_japanese()
{
    QVERIFY(counter::load_japanese_translations(*qApp));
    // The standard buttons and the boxes' context menu.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"キャンセル"_s);
    QVERIFY(!QCoreApplication::translate("QWidgetTextControl", "&Paste").startsWith(u"&Paste"_s));
}

QTEST_MAIN(TstWindowParts)
#include "tst_window_parts.moc"
