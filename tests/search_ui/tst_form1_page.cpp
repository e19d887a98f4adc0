// The page view (File1's first page, ▲, ▼, Enter in Text3) and the jump from List1.
#include "form1_fixture.h"

using namespace fixture;
using namespace Qt::StringLiterals;

namespace {

QString entry(const QString &name, int line)
{
    return name + u' ' + QString::number(line) + u" 行目に見つかりました"_s;
}

// Selects List1's row with the mouse, as a user does.
void click_row(Window &w, int row)
{
    QCoreApplication::processEvents();   // the entries reach the view
    QAbstractItemView *list = w.list1();
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

}  // namespace

class TstForm1Page : public QObject {
    Q_OBJECT
private slots:
    void first_page_data();
    void first_page();
    void file_list_arrow_key_shows_page();
    void file_list_space_shows_current_file();
    void tab_leaves_view_box();
    void moves_data();
    void moves();
    void enter_in_text3_data();
    void enter_in_text3();
    void other_keys_type();
    void nested_move_leaves_one_window();
    void closed_during_move();

    void jump_data();
    void jump();
    void jump_by_arrow_key();
    void jump_then_moves_and_back_to_file_list();
    void jump_follows_folder_shown();
};

void TstForm1Page::first_page_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("view");

    QTest::newRow("12 lines: all of them") << numbered_lines(12) << shown_range(1, 12);
    QTest::newRow("40 lines: the first 30") << numbered_lines(40) << shown_range(1, 30);
    QTest::newRow("empty file: nothing") << QByteArray() << QString();
    QTest::newRow("bad byte shows a replacement character")
        << QByteArray("a\x80z\r\n") << shown({u"a\uFFFDz"_s});
}

void TstForm1Page::first_page()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, view);
    Window w;
    w.write(u"work/f.txt"_s, content);
    w.open();
    w.label2()->setText(u"7"_s);
    QTest::mouseClick(w.file1()->viewport(), Qt::LeftButton, {},
                      w.file1()->visualItemRect(w.file1()->item(0)).center());
    QCOMPARE(w.text2()->toPlainText(), view);
    QCOMPARE(w.label2()->text(), u"1"_s);
    QCOMPARE(w.form->flglist(), qint16(0));
}

void TstForm1Page::file_list_arrow_key_shows_page()
{
    Window w;
    w.write(u"work/a.txt"_s, "first a\r\n");
    w.write(u"work/b.txt"_s, "first b\r\n");
    w.open();
    w.file1()->set_selected(0);
    w.text1()->setText(u"first"_s);
    QTest::mouseClick(w.button("Command1"), Qt::LeftButton);
    click_row(w, 0);
    QCOMPARE(w.form->flglist(), qint16(1));
    QTest::keyClick(w.file1(), Qt::Key_Down);
    QCOMPARE(w.file1()->selected_name(), u"b.txt"_s);
    QCOMPARE(w.text2()->toPlainText(), shown({u"first b"_s}));
    QCOMPARE(w.form->flglist(), qint16(0));
}

void TstForm1Page::file_list_space_shows_current_file()
{
    // Tab makes the first file current without selecting it; Space must show it, or a
    // folder's only file could never be shown from the keyboard.
    Window w;
    w.write(u"work/only.txt"_s, "only line\r\n");
    w.open();
    w.file1()->clearSelection();
    w.file1()->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    w.text2()->clear();
    QTest::keyClick(w.file1(), Qt::Key_Space);
    QCOMPARE(w.file1()->selected_name(), u"only.txt"_s);
    QCOMPARE(w.text2()->toPlainText(), shown({u"only line"_s}));
}

void TstForm1Page::tab_leaves_view_box()
{
    Window w;
    w.open();
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    w.text2()->setFocus();
    QTest::keyClick(w.text2(), Qt::Key_Tab);
    QVERIFY(!w.text2()->hasFocus());
    QVERIFY(w.text2()->toPlainText().isEmpty() || !w.text2()->toPlainText().contains(u'\t'));
}

void TstForm1Page::moves_data()
{
    QTest::addColumn<QString>("caption");   // Label2 before
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("first");         // lines shown, none when first > last
    QTest::addColumn<int>("last");
    QTest::addColumn<QString>("after");     // Label2 after

    // The file has N = 12 lines.
    QTest::newRow("▲ from 2 shows 1..10, top 1") << u"2"_s << u"Command5"_s << 1 << 10 << u"1"_s;
    QTest::newRow("▲ from 1 shows 1..9, top stays") << u"1"_s << u"Command5"_s << 1 << 9 << u"1"_s;
    QTest::newRow("▲ from N+5 shows nothing, top N+4") << u"17"_s << u"Command5"_s << 1 << 0 << u"16"_s;
    QTest::newRow("▼ from 1 shows 2..11") << u"1"_s << u"Command6"_s << 2 << 11 << u"2"_s;
    QTest::newRow("▼ from N-1 shows line N alone") << u"11"_s << u"Command6"_s << 12 << 12 << u"12"_s;
    QTest::newRow("▼ from N shows nothing, top stays") << u"12"_s << u"Command6"_s << 1 << 0 << u"12"_s;
    QTest::newRow("▼ with empty Label2 shows 1..10, Label2 stays empty")
        << QString() << u"Command6"_s << 1 << 10 << QString();
    QTest::newRow("▲ with empty Label2 shows 1..8, Label2 stays empty")
        << QString() << u"Command5"_s << 1 << 8 << QString();
    QTest::newRow("▼ from a fraction moves the caption by one") << u"5.5"_s << u"Command6"_s << 6 << 12
        << u"6.5"_s;
    QTest::newRow("▼ from a negative top") << u"-3"_s << u"Command6"_s << 1 << 7 << u"-2"_s;
}

void TstForm1Page::moves()
{
    QFETCH(QString, caption);
    QFETCH(QString, button);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QString, after);

    Window w;
    w.write(u"work/f.txt"_s, numbered_lines(12));
    w.open();
    w.file1()->set_selected(0);
    w.label2()->setText(caption);
    QTest::mouseClick(w.button(button.toLatin1().constData()), Qt::LeftButton);
    QCOMPARE(w.text2()->toPlainText(), first <= last ? shown_range(first, last) : QString());
    QCOMPARE(w.label2()->text(), after);
}

void TstForm1Page::enter_in_text3_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QString>("label2");

    // The file has 100 lines.
    QTest::newRow("7 shows 7..16") << u"7"_s << int(Qt::Key_Return) << 7 << 16 << u"7"_s;
    QTest::newRow("keypad Enter works as Enter") << u"7"_s << int(Qt::Key_Enter) << 7 << 16 << u"7"_s;
    QTest::newRow("12abc reads as 12") << u"12abc"_s << int(Qt::Key_Return) << 12 << 21 << u"12"_s;
    QTest::newRow("blanks in front are skipped") << u"  3"_s << int(Qt::Key_Return) << 3 << 12 << u"3"_s;
    QTest::newRow("empty is 0: lines 1..9") << QString() << int(Qt::Key_Return) << 1 << 9 << u"0"_s;
    QTest::newRow("-3 shows 1..6") << u"-3"_s << int(Qt::Key_Return) << 1 << 6 << u"-3"_s;
    QTest::newRow("5.5 shows 6..15") << u"5.5"_s << int(Qt::Key_Return) << 6 << 15 << u"5.5"_s;
    QTest::newRow("1e1 is 10") << u"1e1"_s << int(Qt::Key_Return) << 10 << 19 << u"10"_s;
    QTest::newRow("past the end shows nothing") << u"200"_s << int(Qt::Key_Return) << 1 << 0 << u"200"_s;
    QTest::newRow("too large for a line shows nothing")
        << u"99999999999999999999"_s << int(Qt::Key_Return) << 1 << 0 << u"100000000000000000000"_s;
    // Label2 then writes the largest double out in its 309 digits.
    QTest::newRow("beyond any number shows nothing")
        << u"1e400"_s << int(Qt::Key_Return) << 1 << 0 << u"17976931348623157…"_s;
}

void TstForm1Page::enter_in_text3()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QString, label2);

    Window w;
    w.write(u"work/f.txt"_s, numbered_lines(100));
    w.open();
    w.file1()->set_selected(0);
    w.text3()->setText(typed);
    QTest::keyClick(w.text3(), Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(w.text2()->toPlainText(), first <= last ? shown_range(first, last) : QString());
    if (label2.endsWith(u'…'))
        QVERIFY2(w.label2()->text().startsWith(label2.chopped(1)), qPrintable(w.label2()->text()));
    else
        QCOMPARE(w.label2()->text(), label2);
    QCOMPARE(w.text3()->text(), typed);
}

void TstForm1Page::other_keys_type()
{
    Window w;
    w.write(u"work/f.txt"_s, numbered_lines(20));
    w.open();
    w.file1()->set_selected(0);
    QTest::keyClicks(w.text3(), u"5.5"_s);
    QCOMPARE(w.text3()->text(), u"5.5"_s);
    QCOMPARE(w.text2()->toPlainText(), shown_range(1, 20));
    QCOMPARE(w.label2()->text(), u"1"_s);

    // Enter, then ▼: the whole file was read for 5.5, and ▼ goes on from the caption.
    QTest::keyClick(w.text3(), Qt::Key_Return);
    QCOMPARE(w.text2()->toPlainText(), shown_range(6, 15));
    QTest::mouseClick(w.button("Command6"), Qt::LeftButton);
    QCOMPARE(w.text2()->toPlainText(), shown_range(6, 15));
    QCOMPARE(w.label2()->text(), u"6.5"_s);
}

void TstForm1Page::nested_move_leaves_one_window()
{
    Window w;
    w.write(u"work/f.txt"_s, numbered_lines(30));
    w.open();
    w.file1()->set_selected(0);
    w.label2()->setText(u"5"_s);
    // A ▼ that waits in the queue runs inside ▲'s event round and completes first.
    Window::at_pump(0, [&] { w.button("Command6")->click(); });
    w.button("Command5")->click();
    // ▼ took the top to 6; ▲ then read the caption afresh and moved it to 5.
    QCOMPARE(w.label2()->text(), u"5"_s);
    QCOMPARE(w.text2()->toPlainText(), shown_range(5, 14));
}

void TstForm1Page::closed_during_move()
{
    Window w;
    w.write(u"work/f.txt"_s, numbered_lines(30));
    w.open();
    w.file1()->set_selected(0);
    Window::at_pump(0, [&] { w.form->close(); });
    w.button("Command6")->click();
    QVERIFY(!w.form->isVisible());
    QCOMPARE(w.text2()->toPlainText(), QString());
    QCOMPARE(w.label2()->text(), u"1"_s);
}

void TstForm1Page::jump_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("phrase");     // searched for
    QTest::addColumn<QString>("selecting");  // in Text1 at the click
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("label2");
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("selected");

    QByteArray long_file = "hit first\r\n" + numbered_lines(40);
    QTest::newRow("hit on line 1 of a long file: lines 1..10")
        << u"f.txt"_s << long_file << u"hit"_s << u"hit"_s << 0 << u"1"_s
        << u"hit first\n"_s + shown_range(1, 9)
        << u"hit"_s;
    QTest::newRow("hit on line 5 of 7: lines 5, 6, 7")
        << u"f.txt"_s << QByteArray("1\r\n2\r\n3\r\n4\r\nfive hit\r\n6\r\n7\r\n") << u"hit"_s << u"hit"_s
        << 0 << u"5"_s << shown({u"five hit"_s, u"6"_s, u"7"_s}) << u"hit"_s;
    QTest::newRow("a name with a blank and a number")
        << u"report 2.txt"_s << QByteArray("a\r\nb\r\nc hit\r\nd\r\n") << u"hit"_s << u"hit"_s << 0
        << u"3"_s << shown({u"c hit"_s, u"d"_s}) << u"hit"_s;
    QTest::newRow("the phrase is selected on the hit's line, not a later one")
        << u"f.txt"_s << QByteArray("x\r\nab hit\r\nhit\r\nhit hit\r\n") << u"hit"_s << u"hit"_s << 1
        << u"3"_s << shown({u"hit"_s, u"hit hit"_s}) << u"hit"_s;
    QTest::newRow("an edited phrase selects across the CR LF of earlier lines")
        << u"f.txt"_s << QByteArray("hit\r\nsecond\r\nthird word\r\n") << u"hit"_s << u"word"_s << 0
        << u"1"_s << shown({u"hit"_s, u"second"_s, u"third word"_s}) << u"word"_s;
    QTest::newRow("a phrase no longer in the window selects nothing")
        << u"f.txt"_s << QByteArray("hit\r\n") << u"hit"_s << u"zzz"_s << 0 << u"1"_s
        << shown({u"hit"_s}) << QString();
    QTest::newRow("Japanese text selected by characters")
        << u"f.txt"_s << cp932(u"前置き\r\n東京都庁へ\r\n"_s) << u"都庁"_s << u"都庁"_s << 0
        << u"2"_s << shown({u"東京都庁へ"_s}) << u"都庁"_s;
}

void TstForm1Page::jump()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, phrase);
    QFETCH(QString, selecting);
    QFETCH(int, row);
    QFETCH(QString, label2);
    QFETCH(QString, view);
    QFETCH(QString, selected);

    Window w;
    w.write(u"work/"_s + name, content);
    w.open();
    w.file1()->set_selected(0);
    w.text1()->setText(phrase);
    QTest::mouseClick(w.button("Command1"), Qt::LeftButton);
    QVERIFY(w.asked.isEmpty());
    w.text1()->setText(selecting);
    click_row(w, row);
    QCOMPARE(w.form->flglist(), qint16(1));
    QCOMPARE(w.label2()->text(), label2);
    QCOMPARE(w.text2()->toPlainText(), view);
    QCOMPARE(w.text2()->textCursor().selectedText(), selected);
    QCOMPARE(w.list1()->selected_row(), row);
    // The selection stays visible while the focus is in List1.
    const QPalette palette = w.text2()->palette();
    QCOMPARE(palette.color(QPalette::Inactive, QPalette::Highlight),
             palette.color(QPalette::Active, QPalette::Highlight));

    // The file deleted since: nothing shown, the entry's number on the label.
    QVERIFY(QFile::remove(w.host(u"work/"_s + name)));
    w.text2()->setPlainText(u"stale"_s);
    click_row(w, row);
    QCOMPARE(w.text2()->toPlainText(), QString());
    QCOMPARE(w.label2()->text(), label2);
    QCOMPARE(w.form->flglist(), qint16(1));
}

void TstForm1Page::jump_by_arrow_key()
{
    Window w;
    w.write(u"work/f.txt"_s, "hit 1\r\nhit 2\r\nhit 3\r\n");
    w.open();
    w.file1()->set_selected(0);
    w.text1()->setText(u"hit"_s);
    QTest::mouseClick(w.button("Command1"), Qt::LeftButton);
    click_row(w, 0);
    QTest::keyClick(w.list1(), Qt::Key_Down);
    QCOMPARE(w.label2()->text(), u"2"_s);
    QCOMPARE(w.text2()->toPlainText(), shown({u"hit 2"_s, u"hit 3"_s}));
    QCOMPARE(w.text2()->textCursor().selectedText(), u"hit"_s);
}

void TstForm1Page::jump_then_moves_and_back_to_file_list()
{
    Window w;
    w.write(u"work/a.txt"_s, numbered_lines(30));
    w.write(u"work/b.txt"_s, "line 1\r\nline 2\r\nline 3\r\nline 4\r\nline 5\r\n");
    w.open();
    w.file1()->set_selected(0);
    w.file1()->set_selected(1);   // the folder search still names a.txt first
    w.text1()->setText(u"line 4"_s);
    w.button("Command3")->click();
    QCOMPARE(w.entries(), (QStringList{entry(u"a.txt"_s, 4), entry(u"b.txt"_s, 4)}));
    click_row(w, 0);
    QCOMPARE(w.text2()->toPlainText(), shown_range(4, 13));

    // ▼ after a jump goes on in the hit's file.
    QTest::mouseClick(w.button("Command6"), Qt::LeftButton);
    QCOMPARE(w.text2()->toPlainText(), shown_range(5, 14));
    QCOMPARE(w.label2()->text(), u"5"_s);

    // A click in the file list makes it the source again.
    w.file1()->set_selected(1);
    QCOMPARE(w.form->flglist(), qint16(0));
    QTest::mouseClick(w.button("Command6"), Qt::LeftButton);
    QCOMPARE(w.text2()->toPlainText(), shown_range(2, 5));

    // A new search leaves flglist and Label2; with no entry selected the view is empty.
    click_row(w, 1);
    w.button("Command3")->click();
    QTest::mouseClick(w.button("Command6"), Qt::LeftButton);
    QCOMPARE(w.form->flglist(), qint16(1));
    QCOMPARE(w.text2()->toPlainText(), QString());
}

void TstForm1Page::jump_follows_folder_shown()
{
    Window w;
    w.write(u"work/f.txt"_s, "one\r\nhit\r\n");
    w.write(u"work/other/f.txt"_s, "other one\r\nother two\r\nother three\r\n");
    w.write(u"work/else/g.txt"_s, "g\r\n");
    w.open();
    w.file1()->set_selected(0);
    w.text1()->setText(u"hit"_s);
    QTest::mouseClick(w.button("Command1"), Qt::LeftButton);

    // Entries carry no folder: the one shown now holds another f.txt.
    QVERIFY(w.dir1()->set_path(u"C:\\work\\other"_s));
    click_row(w, 0);
    QCOMPARE(w.text2()->toPlainText(), shown({u"other two"_s, u"other three"_s}));
    QTest::mouseClick(w.button("Command5"), Qt::LeftButton);
    QCOMPARE(w.text2()->toPlainText(), shown({u"other one"_s, u"other two"_s, u"other three"_s}));
    QCOMPARE(w.label2()->text(), u"1"_s);

    QVERIFY(w.dir1()->set_path(u"C:\\work\\else"_s));
    click_row(w, 0);
    QCOMPARE(w.text2()->toPlainText(), QString());
    QCOMPARE(w.label2()->text(), u"2"_s);
}

QTEST_MAIN(TstForm1Page)
#include "tst_form1_page.moc"
