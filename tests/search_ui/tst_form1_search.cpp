// The searches of the window: Command1 over the selected file, Command3 over every
// position of the file list, with events let run between files.
#include "form1_fixture.h"

#include <QAbstractItemView>

using namespace fixture;
using namespace Qt::StringLiterals;

namespace {

const QString suffix = u" 行目に見つかりました"_s;

QString entry(const QString &name, int line)
{
    return name + u' ' + QString::number(line) + suffix;
}

// Files as "name|content", written to C:\work; "<fifo>" makes the name a FIFO once
// the window has listed it as a file, so the search meets a file it cannot open.
void write_files(Window &w, const QStringList &files)
{
    for (const QString &file : files) {
        const QString name = file.section(u'|', 0, 0);
        const QString content = file.section(u'|', 1);
        w.write(u"work/"_s + name, content == u"<fifo>"_s ? QByteArray("listed\r\n") : cp932(content));
    }
}

void make_fifos(Window &w, const QStringList &files)
{
    for (const QString &file : files)
        if (file.section(u'|', 1) == u"<fifo>"_s)
            w.fifo(u"work/"_s + file.section(u'|', 0, 0));
}

// Records the order in which the three search buttons change their enabled state.
class EnabledLog : public QObject {
public:
    QStringList log;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange) {
            auto *widget = static_cast<QWidget *>(watched);
            log << watched->objectName() + (widget->isEnabled() ? u"+"_s : u"-"_s);
        }
        return false;
    }
};

}  // namespace

class TstForm1Search : public QObject {
    Q_OBJECT
private slots:
    void single_file_data();
    void single_file();
    void single_file_fifo_does_not_hang();
    void folder_data();
    void folder();
    void folder_buttons_and_page_view();
    void during_run_data();
    void during_run();
    void window_destroyed_during_run();
};

void TstForm1Search::single_file_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("messages");

    const QString seven = u"one\r\nabc here\r\nthree\r\nfour\r\nand abc\r\nsix\r\nseven\r\n"_s;
    const QStringList none;
    const QStringList not_found{u"見つかりません"_s};
    QTest::newRow("hits on lines 2 and 5, in order") << u"memo.txt"_s << seven << u"abc"_s
        << QStringList{entry(u"memo.txt"_s, 2), entry(u"memo.txt"_s, 5)} << none;
    QTest::newRow("a line with the phrase twice is one hit") << u"memo.txt"_s << u"abc abc\r\n"_s
        << u"abc"_s << QStringList{entry(u"memo.txt"_s, 1)} << none;
    QTest::newRow("case and width are exact") << u"memo.txt"_s << u"ABC\r\nａｂｃ\r\nｱｲｳ\r\n"_s
        << u"abc"_s << none << not_found;
    QTest::newRow("half-width katakana does not find full-width") << u"memo.txt"_s
        << u"アイウ\r\n"_s << u"ｱｲｳ"_s << none << not_found;
    QTest::newRow("one line without the phrase: one message") << u"memo.txt"_s << u"other\r\n"_s
        << u"abc"_s << none << not_found;
    QTest::newRow("empty phrase searches nothing") << u"memo.txt"_s << seven << QString() << none << none;
    QTest::newRow("zero-byte file: no entry, no message") << u"memo.txt"_s << QString() << u"abc"_s
        << none << none;
    QTest::newRow("leading blank of the phrase is kept") << u"memo.txt"_s << u"abc\r\n  abc\r\n"_s
        << u" abc"_s << QStringList{entry(u"memo.txt"_s, 2)} << none;
    QTest::newRow("blank lines at the top count") << u"memo.txt"_s << u"\r\n\r\nabc\r\n"_s << u"abc"_s
        << QStringList{entry(u"memo.txt"_s, 3)} << none;
    QTest::newRow("last line without CR LF") << u"memo.txt"_s << u"x\r\nabc"_s << u"abc"_s
        << QStringList{entry(u"memo.txt"_s, 2)} << none;
    QTest::newRow("name with a blank goes into the entry") << u"my memo 2.txt"_s << u"abc\r\n"_s
        << u"abc"_s << QStringList{entry(u"my memo 2.txt"_s, 1)} << none;
    QTest::newRow("Japanese phrase in code page 932") << u"memo.txt"_s
        << u"東京\r\n東京都庁前\r\n"_s << u"東京都庁"_s << QStringList{entry(u"memo.txt"_s, 2)} << none;
    QTest::newRow("no file selected: cannot be opened") << QString() << u"abc\r\n"_s << u"abc"_s
        << none << not_found;
}

void TstForm1Search::single_file()
{
    QFETCH(QString, name);
    QFETCH(QString, content);
    QFETCH(QString, phrase);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, messages);

    Window w;
    w.write(u"work/other.txt"_s, "abc\r\n");
    if (!name.isEmpty())
        w.write(u"work/"_s + name, cp932(content));
    w.open();
    if (!name.isEmpty()) {
        w.file1()->set_selected(int(w.file_names().indexOf(name)));
        QCOMPARE(w.file1()->selected_name(), name);
    }
    // A previous search's entries and a page on show.
    w.form->hit_list()->append(u"old.txt"_s, 9);
    w.label2()->setText(u"4"_s);
    w.text2()->setPlainText(u"page\r\n"_s);

    w.text1()->setText(phrase);
    QTest::mouseClick(w.button("Command1"), Qt::LeftButton);
    QCOMPARE(w.entries(), entries);
    QCOMPARE(w.messages(), messages);
    for (const MessageRequest &request : w.asked) {
        QCOMPARE(request.title, u"Vornilex"_s);
        QVERIFY(!request.ok_cancel);
    }
    QCOMPARE(w.text2()->toPlainText(), QString());
    QCOMPARE(w.label2()->text(), u"4"_s);
    QVERIFY(w.button("Command1")->isEnabled());
    QVERIFY(w.button("Command3")->isEnabled());
    QVERIFY(w.button("Command4")->isEnabled());
    // The view shows what the list holds.
    QCoreApplication::processEvents();
    QCOMPARE(w.list1()->model()->rowCount(), entries.size());
}

void TstForm1Search::single_file_fifo_does_not_hang()
{
    Window w;
    w.write(u"work/x.txt"_s, "abc\r\n");
    w.open();
    w.file1()->set_selected(0);
    w.fifo(u"work/x.txt"_s);
    w.text1()->setText(u"abc"_s);
    QTest::mouseClick(w.button("Command1"), Qt::LeftButton);
    QCOMPARE(w.entries(), QStringList());
    QCOMPARE(w.messages(), QStringList{u"見つかりません"_s});
    // Nor does reading it for the page view.
    w.file1()->set_selected(0);
    QCOMPARE(w.text2()->toPlainText(), QString());
}

void TstForm1Search::folder_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("messages");

    const QStringList none;
    const QStringList finished{u"検索を終了しました"_s};
    const QStringList not_found{u"見つかりません"_s};
    const QStringList three{u"a.txt|x\r\nfoo\r\n"_s, u"b.txt|foo\r\n"_s, u"c.txt|none\r\n"_s};
    QTest::newRow("empty phrase: list emptied, no message") << three << QString() << none << none;
    QTest::newRow("empty folder: finished") << none << u"foo"_s << none << finished;
    QTest::newRow("no hit anywhere: one not-found, after the last file")
        << QStringList{u"a.txt|x\r\n"_s, u"b.txt|y\r\n"_s, u"c.txt|z"_s} << u"foo"_s << none << not_found;
    QTest::newRow("hits in file-list order, by position")
        << three << u"foo"_s << QStringList{entry(u"a.txt"_s, 2), entry(u"b.txt"_s, 1)} << finished;
    QTest::newRow("hits in the first file only: finished")
        << QStringList{u"a.txt|foo\r\n"_s, u"b.txt|x\r\n"_s} << u"foo"_s
        << QStringList{entry(u"a.txt"_s, 1)} << finished;
    QTest::newRow("line numbers restart in every file")
        << QStringList{u"a.txt|1\r\n2\r\nfoo foo\r\n"_s, u"b.txt|1\r\n2\r\nfoo\r\n"_s} << u"foo"_s
        << QStringList{entry(u"a.txt"_s, 3), entry(u"b.txt"_s, 3)} << finished;
    QTest::newRow("a file that cannot be opened in the middle is passed over")
        << QStringList{u"a.txt|foo\r\n"_s, u"b.txt|<fifo>"_s, u"c.txt|foo\r\n"_s} << u"foo"_s
        << QStringList{entry(u"a.txt"_s, 1), entry(u"c.txt"_s, 1)} << finished;
    QTest::newRow("last file cannot be opened, nothing found: one not-found")
        << QStringList{u"a.txt|x\r\n"_s, u"b.txt|<fifo>"_s} << u"foo"_s << none << not_found;
    QTest::newRow("zero-byte file gives nothing of its own")
        << QStringList{u"a.txt|"_s, u"b.txt|foo"_s} << u"foo"_s
        << QStringList{entry(u"b.txt"_s, 1)} << finished;
    QTest::newRow("the comparison is exact")
        << QStringList{u"a.txt|abc\r\nＡＢＣ\r\n"_s} << u"ABC"_s << none << not_found;
}

void TstForm1Search::folder()
{
    QFETCH(QStringList, files);
    QFETCH(QString, phrase);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, messages);

    Window w;
    write_files(w, files);
    w.open();
    make_fifos(w, files);
    // The selection names no entry: positions do.
    if (w.file1()->count() > 0)
        w.file1()->set_selected(w.file1()->count() - 1);
    w.form->hit_list()->append(u"old.txt"_s, 9);
    w.text1()->setText(phrase);
    w.button("Command3")->click();
    QCOMPARE(w.entries(), entries);
    QCOMPARE(w.messages(), messages);
    for (const MessageRequest &request : w.asked)
        QCOMPARE(request.title, u"Vornilex"_s);
    for (const char *name : {"Command1", "Command3", "Command4"})
        QVERIFY(w.button(name)->isEnabled());
}

void TstForm1Search::folder_buttons_and_page_view()
{
    Window w;
    w.write(u"work/a.txt"_s, "foo\r\nbar\r\n");
    w.write(u"work/b.txt"_s, "foo\r\n");
    w.open();
    w.file1()->set_selected(0);
    const QString view = w.text2()->toPlainText();
    QCOMPARE(view, shown({u"foo"_s, u"bar"_s}));

    EnabledLog log;
    for (const char *name : {"Command1", "Command3", "Command4"})
        w.button(name)->installEventFilter(&log);
    QStringList during_pump;
    Window::at_pump(1, [&] {
        for (const char *name : {"Command1", "Command3", "Command4", "Command2"})
            during_pump << QString::fromLatin1(name) + (w.button(name)->isEnabled() ? u"+"_s : u"-"_s);
    });
    bool disabled_at_message = false;
    w.on_ask = [&](const MessageRequest &) {
        disabled_at_message = !w.button("Command1")->isEnabled() && !w.button("Command3")->isEnabled()
                              && !w.button("Command4")->isEnabled();
    };
    w.text1()->setText(u"foo"_s);
    w.button("Command3")->click();

    QCOMPARE(during_pump, (QStringList{u"Command1-"_s, u"Command3-"_s, u"Command4-"_s, u"Command2+"_s}));
    QVERIFY(disabled_at_message);
    QCOMPARE(log.log, (QStringList{u"Command1-"_s, u"Command3-"_s, u"Command4-"_s, u"Command1+"_s,
                                   u"Command3+"_s, u"Command4+"_s}));
    // The page view is not touched.
    QCOMPARE(w.text2()->toPlainText(), view);
    QCOMPARE(w.label2()->text(), u"1"_s);
    QCOMPARE(w.form->flglist(), qint16(0));
}

void TstForm1Search::during_run_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("pump");   // before which file (0 the first)
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("messages");

    const QString finished = u"検索を終了しました"_s;
    QTest::newRow("Text1 emptied: every non-empty line of the later files is a hit")
        << u"empty phrase"_s << 1
        << QStringList{entry(u"a.txt"_s, 3), entry(u"b.txt"_s, 1), entry(u"b.txt"_s, 3),
                       entry(u"c.txt"_s, 1), entry(u"c.txt"_s, 3)}
        << QStringList{finished};
    QTest::newRow("Text1 edited: the new phrase for the later files")
        << u"phrase x"_s << 2
        << QStringList{entry(u"a.txt"_s, 3), entry(u"b.txt"_s, 3), entry(u"c.txt"_s, 1)}
        << QStringList{finished};
    QTest::newRow("folder change: later positions name the new folder's files")
        << u"folder"_s << 1
        << QStringList{entry(u"a.txt"_s, 3), entry(u"q.txt"_s, 1), entry(u"r.txt"_s, 1)}
        << QStringList{finished};
    QTest::newRow("Command2 deletes: the refreshed list skips a file")
        << u"delete b"_s << 1
        << QStringList{entry(u"a.txt"_s, 3), entry(u"c.txt"_s, 3)}
        << QStringList{u"削除しますか？"_s, finished};
    QTest::newRow("a jump runs between files and the search goes on")
        << u"jump"_s << 2
        << QStringList{entry(u"a.txt"_s, 3), entry(u"b.txt"_s, 3), entry(u"c.txt"_s, 3)}
        << QStringList{finished};
    QTest::newRow("window closed: the run is abandoned") << u"close"_s << 1
        << QStringList{entry(u"a.txt"_s, 3)} << QStringList();
}

void TstForm1Search::during_run()
{
    QFETCH(QString, action);
    QFETCH(int, pump);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, messages);

    Window w;
    for (const char *name : {"a.txt", "b.txt", "c.txt"})
        w.write(u"work/"_s + QLatin1String(name), "x\r\n\r\nfoo\r\n");
    w.write(u"work/other/p.txt"_s, "none\r\n");
    w.write(u"work/other/q.txt"_s, "foo\r\n");
    w.write(u"work/other/r.txt"_s, "foo\r\n");
    w.open();

    Window::at_pump(pump, [&] {
        if (action == u"empty phrase")
            w.text1()->clear();
        else if (action == u"phrase x")
            w.text1()->setText(u"x"_s);
        else if (action == u"folder")
            QVERIFY(w.dir1()->set_path(u"C:\\work\\other"_s));
        else if (action == u"delete b") {
            w.file1()->set_selected(1);
            w.button("Command2")->click();
        } else if (action == u"jump") {
            QAbstractItemView *list = w.list1();
            const QRect row = list->visualRect(list->model()->index(1, 0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        } else if (action == u"close") {
            w.form->close();
        }
    });
    w.text1()->setText(u"foo"_s);
    w.button("Command3")->click();
    QCOMPARE(w.entries(), entries);
    QCOMPARE(w.messages(), messages);
    // The view was told of the entries in batches; by the end it lists them all.
    QCOMPARE(w.list1()->model()->rowCount(), entries.size());
    if (action == u"jump") {
        QCOMPARE(w.form->flglist(), qint16(1));
        QCOMPARE(w.label2()->text(), u"3"_s);
        QCOMPARE(w.text2()->toPlainText(), shown({u"foo"_s}));
        QCOMPARE(w.text2()->textCursor().selectedText(), u"foo"_s);
    }
    if (action == u"close")
        QVERIFY(!w.form->isVisible());
    if (action == u"delete b")
        QVERIFY(!QFile::exists(w.host(u"work/b.txt"_s)));
}

// The window may even be destroyed while a run waits for events: the run stops without
// touching it.
void TstForm1Search::window_destroyed_during_run()
{
    Window w;
    for (const char *name : {"a.txt", "b.txt"})
        w.write(u"work/"_s + QLatin1String(name), "foo\r\n");
    w.open();
    Window::at_pump(1, [&] { w.form.reset(); });
    w.text1()->setText(u"foo"_s);
    w.button("Command3")->click();
    QVERIFY(!w.form);
    QCOMPARE(w.messages(), QStringList());
}

QTEST_MAIN(TstForm1Search)
#include "tst_form1_search.moc"
