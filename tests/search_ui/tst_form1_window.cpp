// The search window itself: layout, start-up, the chain of lists, resize, delete, end.
#include "form1_fixture.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>

using namespace fixture;
using namespace Qt::StringLiterals;

class TstForm1Window : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { install_font_substitutions(); }

    void layout_data();
    void layout();
    void window_look();
    void tab_order();

    void start_up_data();
    void start_up();
    void folder_without_matching_file();
    void file_pattern();
    void dir_list_opens_on_double_click();
    void drive_change();

    void resize_data();
    void resize();
    void minimized_keeps_view_box();

    void delete_file_data();
    void delete_file();
    void end_closes_window();
};

void TstForm1Window::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");   // left, top, width, height
    QTest::addColumn<QString>("spoken");

    const auto row = [](const char *name, const char *kind, const QString &caption, QRect twips,
                        const QString &spoken) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind) << caption
                            << twips << spoken;
    };
    row("Drive1", "search::DriveList", {}, {240, 120, 1695, 300}, u"ドライブ"_s);
    row("File1", "search::FileList", {}, {240, 1920, 1695, 2250}, u"ファイル一覧"_s);
    row("Dir1", "search::DirList", {}, {240, 480, 1695, 1350}, u"フォルダ一覧"_s);
    row("Text1", "QLineEdit", {}, {3360, 360, 2895, 375}, u"検索語句"_s);
    row("Command1", "QPushButton", u"検索"_s, {2400, 1080, 735, 495}, u"検索"_s);
    row("Command3", "QPushButton", u"フォルダ検索"_s, {3240, 1080, 1215, 495}, u"フォルダ検索"_s);
    row("Command4", "QPushButton", u"終了"_s, {5400, 1080, 735, 495}, u"終了"_s);
    row("Label1", "QLabel", u"検索語句"_s, {2280, 440, 975, 405}, {});
    row("List1", "search::HitListView", {}, {2160, 1800, 4335, 2040}, u"ヒット一覧"_s);
    row("Command2", "QPushButton", u"削除"_s, {4560, 1080, 735, 495}, u"削除"_s);
    row("Command5", "QPushButton", u"▲"_s, {2280, 3960, 495, 375}, u"▲"_s);
    row("Command6", "QPushButton", u"▼"_s, {2880, 3960, 495, 375}, u"▼"_s);
    row("Label2", "QLabel", {}, {3600, 3960, 975, 405}, {});
    row("Text3", "QLineEdit", {}, {4200, 3960, 615, 270}, u"行番号"_s);
}

// Every control where the design puts it (15 twips to a pixel), named for automation.
void TstForm1Window::layout()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    QFETCH(QString, spoken);

    Window w;
    w.open(u"C:\\nowhere"_s);
    QWidget *control = w.form->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), kind);
    const QRect pixels(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0),
                       qRound(twips.width() / 15.0), qRound(twips.height() / 15.0));
    QCOMPARE(control->geometry(), pixels);
    QCOMPARE(control->accessibleDescription(), name);
    QCOMPARE(control->accessibleName(), spoken);
    QVERIFY(control->isEnabled());
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->palette().color(QPalette::Button), QColor(224, 224, 224));
    }
    if (auto *label = qobject_cast<QLabel *>(control)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(!label->autoFillBackground());
        QCOMPARE(label->font().pointSizeF(), 11.25);
        QVERIFY(label->font().bold());
    }
}

void TstForm1Window::window_look()
{
    Window w;
    Form1 *form = w.open(u"C:\\nowhere"_s);
    QCOMPARE(form->windowTitle(), u"Vornilex"_s);
    QCOMPARE(form->objectName(), u"Form1"_s);
    QCOMPARE(form->palette().color(QPalette::Window), QColor(0, 0, 128));
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(form->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(form->size(), QSize(442, 383));   // 6630 x 5745 twips
#ifdef HAS_ICONS
    const QList<QSize> sizes = form->windowIcon().availableSizes();
    QVERIFY(sizes.contains(QSize(16, 16)));
    QVERIFY(sizes.contains(QSize(256, 256)));
    // Read at first use, and drawn in the size asked for.
    const QImage icon = form->windowIcon().pixmap(QSize(48, 48)).toImage();
    QCOMPARE(icon.size(), QSize(48, 48));
    QVERIFY(icon.pixelColor(24, 24).alpha() > 0);
#endif
    QCOMPARE(w.text2()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(w.text3()->font().pointSizeF(), 9.0);
    QVERIFY(w.text3()->font().bold());
    // The designed face does not exist here: a Japanese face stands in for it.
    const QFontInfo drawn(w.get<QLabel>("Label1")->font());
    QVERIFY2(QFontDatabase::writingSystems(drawn.family()).contains(QFontDatabase::Japanese),
             qPrintable(drawn.family()));
}

void TstForm1Window::tab_order()
{
    Window w;
    Form1 *form = w.open(u"C:\\nowhere"_s);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QCOMPARE(QApplication::focusWidget(), w.drive1());
    QStringList order;
    QWidget *at = w.drive1();
    do {
        order << at->objectName();
        at = at->nextInFocusChain();
        while (at != w.drive1() && !(at->focusPolicy() & Qt::TabFocus))
            at = at->nextInFocusChain();
    } while (at != w.drive1() && order.size() < 30);
    const QStringList expected{u"Drive1"_s, u"File1"_s, u"Dir1"_s, u"Text1"_s, u"Command1"_s,
                               u"Command3"_s, u"Command4"_s, u"List1"_s, u"Text2"_s,
                               u"Command2"_s, u"Command5"_s, u"Command6"_s, u"Text3"_s};
    // Children of the controls (a combo's line, scroll bars) take no part in the order.
    QStringList named;
    for (const QString &name : order)
        if (expected.contains(name))
            named << name;
    QCOMPARE(named, expected);
}

void TstForm1Window::start_up_data()
{
    QTest::addColumn<QString>("program_folder");
    QTest::addColumn<bool>("desktop_exists");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("label2");

    const QStringList desktop_files{u"a.txt"_s, u"b.txt"_s};
    const QStringList work_files{u"w.txt"_s};
    QTest::newRow("start folder exists: first file's first page")
        << u"C:\\app"_s << true << u"C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ"_s << desktop_files << u"a.txt"_s
        << shown({u"alpha"_s, u"beta"_s}) << u"1"_s;
    QTest::newRow("start folder missing: lists stay on the working directory")
        << u"C:\\app"_s << false << u"C:\\work"_s << work_files << QString() << QString() << QString();
    QTest::newRow("program on a network path: no start folder")
        << u"\\\\server\\share"_s << true << u"C:\\work"_s << work_files << QString() << QString()
        << QString();
    QTest::newRow("program on an unknown drive: no start folder")
        << u"Q:\\app"_s << true << u"C:\\work"_s << work_files << QString() << QString() << QString();
}

void TstForm1Window::start_up()
{
    QFETCH(QString, program_folder);
    QFETCH(bool, desktop_exists);
    QFETCH(QString, folder);
    QFETCH(QStringList, files);
    QFETCH(QString, selected);
    QFETCH(QString, view);
    QFETCH(QString, label2);

    Window w;
    w.write(u"work/w.txt"_s, "work\r\n");
    w.write(u"work/w.dat"_s, "not listed\r\n");
    if (desktop_exists) {
        w.write(desktop + u"/b.txt"_s, "bravo\r\n");
        w.write(desktop + u"/a.txt"_s, "alpha\r\nbeta\r\n");
        w.write(desktop + u"/c.dat"_s, "not listed\r\n");
    }
    w.open(program_folder);
    QCOMPARE(w.dir1()->path(), folder);
    QCOMPARE(w.file1()->path(), folder);
    QCOMPARE(w.file_names(), files);
    QCOMPARE(w.file1()->selected_name(), selected);
    QCOMPARE(w.text2()->toPlainText(), view);
    QCOMPARE(w.label2()->text(), label2);
    QCOMPARE(w.drive1()->currentText(), u"c:"_s);
    QCOMPARE(w.form->flglist(), qint16(0));
    QVERIFY(w.asked.isEmpty());
}

void TstForm1Window::folder_without_matching_file()
{
    Window w;
    w.write(u"work/a.txt"_s, "first\r\n");
    w.write(u"work/empty/readme.md"_s, "no\r\n");
    w.open();
    w.file1()->set_selected(0);
    QCOMPARE(w.text2()->toPlainText(), shown({u"first"_s}));

    QVERIFY(w.dir1()->set_path(u"C:\\work\\empty"_s));
    QCOMPARE(w.file1()->path(), u"C:\\work\\empty"_s);
    QCOMPARE(w.file1()->count(), 0);
    QCOMPARE(w.file1()->selected_name(), QString());
    // No file was selected, so the page view keeps the last file's page.
    QCOMPARE(w.text2()->toPlainText(), shown({u"first"_s}));
    QCOMPARE(w.label2()->text(), u"1"_s);
}

void TstForm1Window::file_pattern()
{
    Window w;
    for (const char *name : {"NOTES.TXT", "notes.text", "page.HTM", "b.doc", "c.rtf", "d.txt.bak",
                             ".hidden.txt", "Z.Txt"})
        w.write(u"work/"_s + QLatin1String(name), "x\r\n");
    w.mkdir(u"work/folder.txt"_s);
    w.fifo(u"work/pipe.txt"_s);
    w.open();
    QCOMPARE(w.file1()->pattern(), u"*.txt;*.htm;*.doc;*.rtf"_s);
    QCOMPARE(w.file_names(),
             (QStringList{u"b.doc"_s, u"c.rtf"_s, u"NOTES.TXT"_s, u"page.HTM"_s, u"Z.Txt"_s}));
}

void TstForm1Window::dir_list_opens_on_double_click()
{
    Window w;
    w.write(u"work/sub/s.txt"_s, "in sub\r\n");
    w.write(u"work/sub/deeper/d.txt"_s, "deeper\r\n");
    w.open();
    DirList *dir1 = w.dir1();
    QStringList shown_names;
    for (int i = 0; i < dir1->count(); ++i)
        shown_names << dir1->item(i)->text();
    QCOMPARE(shown_names, (QStringList{u"c:\\"_s, u"work"_s, u"sub"_s}));

    const auto double_click = [&](int row) {
        const QPoint at = dir1->visualItemRect(dir1->item(row)).center();
        QTest::mouseDClick(dir1->viewport(), Qt::LeftButton, {}, at);
    };
    double_click(2);
    QCOMPARE(dir1->path(), u"C:\\work\\sub"_s);
    QCOMPARE(w.file_names(), QStringList{u"s.txt"_s});
    QCOMPARE(w.file1()->selected_name(), u"s.txt"_s);
    QCOMPARE(w.text2()->toPlainText(), shown({u"in sub"_s}));

    double_click(0);   // the drive's root
    QCOMPARE(dir1->path(), u"C:\\"_s);
    QCOMPARE(w.file_names(), QStringList());
}

void TstForm1Window::drive_change()
{
    Window w;
    QTemporaryDir other;
    QFile d_file(other.filePath(u"d.txt"_s));
    QVERIFY(d_file.open(QIODevice::WriteOnly));
    d_file.write("on d\r\n");
    d_file.close();
    w.write(u"work/sub/s.txt"_s, "in sub\r\n");

    DriveMap map = w.drives();
    map.add(u'D', QFile::encodeName(other.path()));
    map.add(u'E', QFile::encodeName(other.filePath(u"no-medium"_s)));
    w.open(u"C:\\app"_s, map);
    QCOMPARE(w.drive1()->count(), 3);
    QVERIFY(w.dir1()->set_path(u"C:\\work\\sub"_s));

    w.drive1()->set_drive(u'D');
    QCOMPARE(w.dir1()->path(), u"D:\\"_s);
    QCOMPARE(w.file_names(), QStringList{u"d.txt"_s});
    QCOMPARE(w.text2()->toPlainText(), shown({u"on d"_s}));

    // Each drive keeps its current folder.
    w.drive1()->set_drive(u'C');
    QCOMPARE(w.dir1()->path(), u"C:\\work\\sub"_s);
    QCOMPARE(w.text2()->toPlainText(), shown({u"in sub"_s}));

    // A drive that cannot be read leaves the lists where they were.
    w.drive1()->set_drive(u'E');
    QCOMPARE(w.dir1()->path(), u"C:\\work\\sub"_s);
    QCOMPARE(w.file_names(), QStringList{u"s.txt"_s});
    QCOMPARE(w.drive1()->drive(), QChar(u'C'));
    QCOMPARE(w.drive1()->currentText(), u"c:"_s);

    // The user's pick with the keyboard is a drive change too.
    w.drive1()->setFocus();
    QTest::keyClick(w.drive1(), Qt::Key_Down);
    QCOMPARE(w.drive1()->drive(), QChar(u'D'));
    QCOMPARE(w.dir1()->path(), u"D:\\"_s);
}

void TstForm1Window::resize_data()
{
    QTest::addColumn<QSizeF>("outer_twips");
    QTest::addColumn<QSize>("view_box_pixels");

    QTest::newRow("7000 x 6000 gives 6500 x 880") << QSizeF(7000, 6000) << QSize(433, 59);
    QTest::newRow("height at the box's bottom gives 0") << QSizeF(7000, 5120) << QSize(433, 0);
    QTest::newRow("shorter window gives no height, not a negative one")
        << QSizeF(7000, 3000) << QSize(433, 0);
    QTest::newRow("narrower than the margin gives no width") << QSizeF(300, 6000) << QSize(0, 59);
}

void TstForm1Window::resize()
{
    QFETCH(QSizeF, outer_twips);
    QFETCH(QSize, view_box_pixels);
    Window w;
    Form1 *form = w.open();
    form->resize_view_box(float(outer_twips.width()), float(outer_twips.height()));
    QCOMPARE(w.text2()->size(), view_box_pixels);
    QCOMPARE(w.text2()->pos(), QPoint(16, 288));
}

void TstForm1Window::minimized_keeps_view_box()
{
    Window w;
    Form1 *form = w.open();
    // The box follows the outer size, frame and title bar included.
    const auto expected = [form] {
        const QSize outer = form->frameGeometry().size();
        return QSize(qRound((outer.width() * 15 - 500) / 15.0), qRound((outer.height() * 15 - 5120) / 15.0));
    };
    form->resize(480, 400);
    QCOMPARE(w.text2()->size(), expected());
    const QSize before = w.text2()->size();
    const QRect list1 = w.list1()->geometry();

    form->setWindowState(Qt::WindowMinimized);
    form->resize(600, 500);
    QCOMPARE(w.text2()->size(), before);

    form->setWindowState(Qt::WindowNoState);
    QCOMPARE(w.text2()->size(), expected());
    QVERIFY(w.text2()->size() != before);
    QCOMPARE(w.list1()->geometry(), list1);
}

void TstForm1Window::delete_file_data()
{
    QTest::addColumn<bool>("select");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<QStringList>("left");

    QTest::newRow("OK deletes the selected file")
        << true << MessageAnswer::Ok << QStringList{u"a.txt"_s, u"c.txt"_s};
    QTest::newRow("Cancel deletes nothing")
        << true << MessageAnswer::Cancel << QStringList{u"a.txt"_s, u"b 2.txt"_s, u"c.txt"_s};
    QTest::newRow("OK with nothing selected deletes nothing")
        << false << MessageAnswer::Ok << QStringList{u"a.txt"_s, u"b 2.txt"_s, u"c.txt"_s};
}

void TstForm1Window::delete_file()
{
    QFETCH(bool, select);
    QFETCH(MessageAnswer, answer);
    QFETCH(QStringList, left);

    Window w;
    for (const char *name : {"a.txt", "b 2.txt", "c.txt"})
        w.write(u"work/"_s + QLatin1String(name), "x\r\n");
    w.open();
    if (select)
        w.file1()->set_selected(1);
    const QString view = w.text2()->toPlainText();
    w.answer = answer;
    QTest::mouseClick(w.button("Command2"), Qt::LeftButton);

    QCOMPARE(w.asked.size(), 1);
    QCOMPARE(w.asked[0].text, u"削除しますか？"_s);
    QCOMPARE(w.asked[0].title, u"ファイルの削除"_s);
    QVERIFY(w.asked[0].ok_cancel);
    QCOMPARE(w.file_names(), left);
    QCOMPARE(QDir(w.host(u"work"_s)).entryList(QDir::Files, QDir::Name), left);
    QCOMPARE(w.text2()->toPlainText(), view);   // the page on show stays
}

void TstForm1Window::end_closes_window()
{
    Window w;
    Form1 *form = w.open();
    QVERIFY(form->isVisible());
    QTest::mouseClick(w.button("Command4"), Qt::LeftButton);
    QVERIFY(!form->isVisible());
    QVERIFY(w.asked.isEmpty());
}

QTEST_MAIN(TstForm1Window)
#include "tst_form1_window.moc"
