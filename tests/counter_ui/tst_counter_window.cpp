// The counter window Form1, driven offscreen through its menu, buttons and boxes.
#include "app_setup.h"
#include "event_pump.h"
#include "form1.h"
#include "window_driver.h"

#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace driver;
using counter::Form1;

namespace {

const QString counting = u"計算中です・・・"_s;
const QString characters = u"個の文字列です"_s;
const QString bytes = u"バイトです"_s;

const char *const mode_items[] = {"mnutrim", "mnuspace", "mnunospace", "mnubite", "mnumojic",
                                  "mnumojid", "mnusdel", "mnudel", "mnuedel"};

QStringList checked_items(const QWidget *window)
{
    QStringList checked;
    for (const char *name : mode_items) {
        if (item(window, name)->isChecked())
            checked.append(QString::fromLatin1(name));
    }
    return checked;
}

QString label1(const QWidget *window) { return control<QLabel>(window, "Label1")->text(); }
QString text2(const QWidget *window) { return control<QLineEdit>(window, "Text2")->text(); }

}  // namespace

class TstCounterWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup() { close_all(); }

    void count_per_mode_data();
    void count_per_mode();
    void typed_text_counts();
    void clear_keeps_label_chosen_and_mode();
    void mode_item_changes_no_result();
    void one_item_checked_after_any_selections_data();
    void one_item_checked_after_any_selections();
    void status_text_during_pass();
    void input_held_during_pass();
    void close_during_pass();
};

void TstCounterWindow::initTestCase()
{
    counter::install_font_substitutions();
}

void TstCounterWindow::count_per_mode_data()
{
    QTest::addColumn<QString>("mode_item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("text_after");   // Text1 after the count

    const QString sample = u"ab\r\nc d"_s;
    QTest::newRow("space: a line break is no character")
        << "mnuspace" << sample << "" << "5" << characters << sample;
    QTest::newRow("trim: half-width blanks at the whole text's ends only")
        << "mnutrim" << u"  a\r\n b  "_s << "" << "3" << characters << u"  a\r\n b  "_s;
    QTest::newRow("no space: both blanks left out")
        << "mnunospace" << u"a\u3000b c"_s << "" << "3" << characters << u"a\u3000b c"_s;
    QTest::newRow("bytes: two per unit, two per line break")
        << "mnubite" << sample << "" << "12" << bytes << sample;
    QTest::newRow("count chosen: no overlap")
        << "mnumojic" << u"aaaa"_s << "aa" << "2" << characters << u"aaaa"_s;
    QTest::newRow("not chosen: occurrences left out")
        << "mnumojid" << u"banana"_s << "an" << "2" << characters << u"banana"_s;
    QTest::newRow("delete space: written back, line break kept")
        << "mnusdel" << u"a b\u3000c\r\n d"_s << "" << "4" << characters << u"abc\r\nd"_s;
    QTest::newRow("delete chosen: written back, line breaks kept")
        << "mnudel" << u"banana\r\nana\r\n"_s << "a" << "4" << characters << u"bnn\r\nn\r\n"_s;
    QTest::newRow("delete chosen: empty chosen string leaves the text")
        << "mnudel" << u"ab\r\nc"_s << "" << "3" << characters << u"ab\r\nc"_s;
    QTest::newRow("keep chosen: line breaks dropped")
        << "mnuedel" << u"a\r\nba"_s << "a" << "2" << characters << u"aa"_s;
    QTest::newRow("keep chosen: nothing found empties the text")
        << "mnuedel" << u"banana"_s << "x" << "0" << characters << u""_s;
    QTest::newRow("no-break space and line separator are characters")
        << "mnunospace" << u"a\u00A0b\u2028c"_s << "" << "5" << characters << u"a\u00A0b\u2028c"_s;
    QTest::newRow("empty text gives 0")
        << "mnubite" << u""_s << "" << "0" << bytes << u""_s;
}

void TstCounterWindow::count_per_mode()
{
    QFETCH(QString, mode_item);
    QFETCH(QString, text);
    QFETCH(QString, chosen);
    QFETCH(QString, result);
    QFETCH(QString, unit);
    QFETCH(QString, text_after);

    Form1 *window = show_new<Form1>();
    set_box(window, "Text1", text);
    control<QLineEdit>(window, "Text4")->setText(chosen);
    item(window, mode_item.toLatin1().constData())->trigger();
    click(window, "Command1");

    QCOMPARE(text2(window), result);
    QCOMPARE(label1(window), unit);
    QCOMPARE(box(window, "Text1"), text_after);
    // A written-back line break is a paragraph of the box, not a character in a line.
    QCOMPARE(control<QPlainTextEdit>(window, "Text1")->blockCount(),
             int(text_after.count(u"\r\n"_s)) + 1);
}

void TstCounterWindow::typed_text_counts()
{
    Form1 *window = show_new<Form1>();
    auto *text1 = control<QPlainTextEdit>(window, "Text1");
    QTest::keyClicks(text1, u"ab"_s);
    QTest::keyClick(text1, Qt::Key_Return);
    QTest::keyClicks(text1, u"c d"_s);

    const std::pair<const char *, const char *> counts[] = {
        {"mnuspace", "5"}, {"mnunospace", "4"}, {"mnubite", "12"}};
    for (const auto &[mode_item, result] : counts) {
        item(window, mode_item)->trigger();
        click(window, "Command1");
        QCOMPARE(text2(window), QString::fromLatin1(result));
    }
}

void TstCounterWindow::clear_keeps_label_chosen_and_mode()
{
    Form1 *window = show_new<Form1>();
    set_box(window, "Text1", u"abc"_s);
    control<QLineEdit>(window, "Text4")->setText(u"b"_s);
    item(window, "mnubite")->trigger();
    click(window, "Command1");
    QCOMPARE(text2(window), u"6"_s);

    click(window, "Command2");
    QCOMPARE(box(window, "Text1"), QString());
    QCOMPARE(text2(window), u"0"_s);
    QCOMPARE(label1(window), bytes);
    QCOMPARE(control<QLineEdit>(window, "Text4")->text(), u"b"_s);
    QCOMPARE(window->flagt(), counter::Mode::Bytes);
    QCOMPARE(checked_items(window), QStringList{u"mnubite"_s});

    // The cleared text can be taken back.
    control<QPlainTextEdit>(window, "Text1")->undo();
    QCOMPARE(box(window, "Text1"), u"abc"_s);
}

void TstCounterWindow::mode_item_changes_no_result()
{
    Form1 *window = show_new<Form1>();
    set_box(window, "Text1", u"ab"_s);
    click(window, "Command1");
    for (const char *name : mode_items) {
        item(window, name)->trigger();
        QCOMPARE(text2(window), u"2"_s);
        QCOMPARE(label1(window), characters);
    }
}

void TstCounterWindow::one_item_checked_after_any_selections_data()
{
    QTest::addColumn<QStringList>("selections");
    QTest::newRow("at load: スペース有り") << QStringList{};
    QTest::newRow("each item once, in menu order")
        << QStringList{u"mnutrim"_s, u"mnuspace"_s, u"mnunospace"_s, u"mnubite"_s,
                       u"mnumojic"_s, u"mnumojid"_s, u"mnusdel"_s, u"mnudel"_s, u"mnuedel"_s};
    QTest::newRow("the checked item chosen again stays checked")
        << QStringList{u"mnuspace"_s, u"mnuspace"_s};
    QTest::newRow("back and forth") << QStringList{u"mnubite"_s, u"mnutrim"_s, u"mnubite"_s};
}

void TstCounterWindow::one_item_checked_after_any_selections()
{
    QFETCH(QStringList, selections);
    Form1 *window = show_new<Form1>();
    for (const QString &name : selections)
        item(window, name.toLatin1().constData())->trigger();
    const QString last = selections.isEmpty() ? u"mnuspace"_s : selections.last();
    QCOMPARE(checked_items(window), QStringList{last});

    // What the menu shows is what counts.
    set_box(window, "Text1", u"a b"_s);
    click(window, "Command1");
    const QMap<QString, QString> expected{
        {u"mnuspace"_s, u"3"_s}, {u"mnutrim"_s, u"3"_s}, {u"mnubite"_s, u"6"_s},
        {u"mnuedel"_s, u"0"_s}};
    QCOMPARE(text2(window), expected.value(last));
}

void TstCounterWindow::status_text_during_pass()
{
    Form1 *window = show_new<Form1>();
    set_box(window, "Text1", u"abc"_s);
    item(window, "mnubite")->trigger();

    // Runs in the event round the count lets happen before its pass.
    QString seen;
    QTimer::singleShot(0, window, [&] { seen = label1(window); });
    click(window, "Command1");

    QCOMPARE(seen, counting);
    QCOMPARE(label1(window), bytes);
    QCOMPARE(text2(window), u"6"_s);
}

void TstCounterWindow::input_held_during_pass()
{
    Form1 *window = show_new<Form1>();
    set_box(window, "Text1", u"ab"_s);
    control<QLineEdit>(window, "Text4")->setText(u"a"_s);
    item(window, "mnumojic")->trigger();

    int rounds = 0;
    QTimer::singleShot(0, window, [&] {
        ++rounds;
        auto *text1 = control<QPlainTextEdit>(window, "Text1");
        QTest::keyClicks(text1, u"aaaa"_s);
        QTest::keyClicks(control<QLineEdit>(window, "Text4"), u"b"_s);
        click(window, "Command2");                  // クリア
        click(window, "Command1");                  // a second 測定 inside the first
        control<QPushButton>(window, "Command1")->click();
        item(window, "mnubite")->trigger();         // a mode change asked for by code
        item(window, "mnucomp")->trigger();         // a switch asked for by code
    });
    click(window, "Command1");

    QCOMPARE(rounds, 1);
    QCOMPARE(box(window, "Text1"), u"ab"_s);
    QCOMPARE(control<QLineEdit>(window, "Text4")->text(), u"a"_s);
    QCOMPARE(text2(window), u"1"_s);
    QCOMPARE(window->flagt(), counter::Mode::CountChosen);
    QCOMPARE(checked_items(window), QStringList{u"mnumojic"_s});
    QCOMPARE(shown_windows(), QList<counter::QuellattoWindow *>{window});

    // After the pass the window takes input again.
    QTest::keyClicks(control<QLineEdit>(window, "Text4"), u"b"_s);
    QCOMPARE(control<QLineEdit>(window, "Text4")->text(), u"ab"_s);
}

void TstCounterWindow::close_during_pass()
{
    // The pass goes on to poll many times after the close was asked for.
    QPointer<Form1> window = show_new<Form1>();
    set_box(window, "Text1", long_text(10'000));
    control<QLineEdit>(window, "Text4")->setText(u"a"_s);
    item(window, "mnuedel")->trigger();

    // Closed in the pass's first event round; the wait makes sure the pass runs another.
    QTimer::singleShot(0, window, [&] {
        window->close();
        QThread::msleep(counter::EventPump::interval_ms + 2);
    });
    click(window, "Command1");
    QVERIFY(!window.isNull() && !window->isVisible());
    QCOMPARE(control<QLineEdit>(window, "Text2")->text(), QString());
    QTRY_VERIFY(window.isNull());
}

QTEST_MAIN(TstCounterWindow)
#include "tst_counter_window.moc"
