// Vornilex's real window, offscreen, over a hostile folder: the listing, the first page
// of each file, the search of each file, the folder search, a jump to each hit, ▲, ▼ and
// Enter at both ends of a file, and the deletion of one file. Each ends in bounded time,
// leaves no descriptor open, and deletes nothing but the one confirmed name.
#include "drive_map.h"
#include "form1.h"
#include "hit_entry.h"
#include "hit_list_model.h"
#include "hostile_folder.h"
#include "list_controls.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString phrase = QString::fromLatin1(hostile::phrase);
const QString not_found = u"見つかりません"_s;
const QString finished = u"検索を終了しました"_s;

// The window on a folder, with its controls at hand and its questions answered.
struct Window {
    explicit Window(const QByteArray &host_root)
        : form(new search::Form1(search::DriveMap::with_root(host_root), u"C:\\"_s))
    {
        form->set_message_handler([this](QWidget *, const search::MessageRequest &request) {
            messages.append(request.text);
            return answer;
        });
        form->start_up();
        form->show();
        dir1()->set_path(u"C:\\"_s);
    }
    ~Window() { delete form.data(); }

    template <typename T = QWidget> T *get(const char *name) const
    {
        return form ? form->findChild<T *>(QString::fromLatin1(name)) : nullptr;
    }
    search::DirList *dir1() const { return get<search::DirList>("Dir1"); }
    search::FileList *file1() const { return get<search::FileList>("File1"); }
    search::HitListView *list1() const { return get<search::HitListView>("List1"); }
    QLineEdit *text1() const { return get<QLineEdit>("Text1"); }
    QPlainTextEdit *text2() const { return get<QPlainTextEdit>("Text2"); }
    QLineEdit *text3() const { return get<QLineEdit>("Text3"); }
    QString label2() const { return get<QLabel>("Label2")->text(); }
    void click(const char *button) const { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }

    QStringList files() const
    {
        QStringList names;
        for (int row = 0; row < file1()->count(); ++row)
            names.append(file1()->name_at(row));
        return names;
    }
    QStringList hits() const
    {
        QStringList entries;
        for (qsizetype row = 0; row < form->hit_list()->count(); ++row)
            entries.append(form->hit_list()->text_at(row));
        return entries;
    }
    void select_file(const QString &name) const { file1()->set_selected(int(files().indexOf(name))); }
    // Selects the hit entry at `row` as the user's click does.
    void click_hit(int row) const
    {
        form->hit_list()->commit();
        const QModelIndex index = list1()->model()->index(row, 0);
        // The view lays rows out in batches while events run, as it does for a user.
        while (!list1()->visualRect(index).isValid())
            QCoreApplication::processEvents();
        list1()->scrollTo(index);
        QTest::mouseClick(list1()->viewport(), Qt::LeftButton, {}, list1()->visualRect(index).center());
    }
    void enter_line(const QString &typed) const
    {
        text3()->setText(typed);
        QTest::keyClick(text3(), Qt::Key_Return);
    }

    QPointer<search::Form1> form;
    QStringList messages;
    search::MessageAnswer answer = search::MessageAnswer::Ok;
};

// The expected hit entries of one listed file.
QStringList entries_of(const hostile::Entry &entry)
{
    QStringList entries;
    for (qint64 line : entry.hit_lines)
        entries.append(search::make_hit_entry(search::name_from_host(entry.host_name), line));
    return entries;
}

// Every name of the fixture but those `gone` is still there.
QStringList missing_names(const hostile::Folder &folder, const QList<QByteArray> &gone)
{
    QStringList missing;
    for (const hostile::Entry &entry : folder.entries()) {
        struct stat info;
        if (!gone.contains(entry.host_name) && ::lstat(folder.host_path(entry.host_name).constData(), &info) != 0)
            missing.append(QString::fromUtf8(entry.host_name));
    }
    return missing;
}

}  // namespace

class TstHostileWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void listing();
    void first_page_of_each_file();
    void search_of_each_file();
    void folder_search_and_jump_to_each_hit();
    void page_moves_at_both_ends_data();
    void page_moves_at_both_ends();
    void ten_million_hits();
    void more_files_than_a_16_bit_count();
    void deletion_removes_only_the_confirmed_name_data();
    void deletion_removes_only_the_confirmed_name();

private:
    void check_nothing_open(const char *after);

    std::unique_ptr<hostile::Folder> m_folder;
    std::unique_ptr<hostile::WithoutPermissionBypass> m_plain_user;
    std::unique_ptr<Window> m_window;
    QList<QByteArray> m_deleted;   // names that a confirmed deletion took away
    int m_descriptors = 0;         // open descriptors once the window is up
};

void TstHostileWindow::initTestCase()
{
    m_folder = std::make_unique<hostile::Folder>(qEnvironmentVariableIntValue("HOSTILE_SMALL") == 0);
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    // The whole run reads as a user without root's bypass of file permissions would.
    m_plain_user = std::make_unique<hostile::WithoutPermissionBypass>();
    hostile::Deadline deadline("the window's start-up on the hostile folder", 60);
    m_window = std::make_unique<Window>(m_folder->host_path());
    QVERIFY(m_window->form);
    QCoreApplication::processEvents();
    m_descriptors = hostile::descriptor_count();
}

void TstHostileWindow::cleanupTestCase()
{
    m_window.reset();
    m_plain_user.reset();
}

void TstHostileWindow::check_nothing_open(const char *after)
{
    const QStringList open = hostile::descriptors_under(m_folder->host_path());
    QVERIFY2(open.isEmpty(), qPrintable(u"open after "_s + QString::fromLatin1(after) + u": "_s + open.join(u", ")));
    // Nor anywhere else: the count of the process's descriptors is what it was at start.
    if (hostile::descriptor_count() != m_descriptors)
        QFAIL(qPrintable(u"descriptors after "_s + QString::fromLatin1(after) + u": "_s
                         + hostile::descriptors_under("").join(u", ")));
}

void TstHostileWindow::listing()
{
    QStringList expected;
    for (const hostile::Entry &entry : m_folder->entries())
        if (entry.listed)
            expected.append(search::name_from_host(entry.host_name));
    const QStringList shown = m_window->files();
    QCOMPARE(QSet<QString>(shown.begin(), shown.end()), QSet<QString>(expected.begin(), expected.end()));
    QCOMPARE(shown.size(), expected.size());
    check_nothing_open("the listing");
}

void TstHostileWindow::first_page_of_each_file()
{
    Window &w = *m_window;
    for (const QString &name : w.files()) {
        const hostile::Entry &entry = *m_folder->find(search::name_to_host(name));
        {
            hostile::Deadline deadline(("the first page of " + entry.host_name).constData(), 60);
            w.select_file(name);
        }
        QCOMPARE(w.label2(), u"1"_s);
        QCOMPARE(w.form->flglist(), 0);
        const QString view = w.text2()->toPlainText();
        if (!entry.readable && m_folder->unreadable_is_unreadable())
            QVERIFY2(view.isEmpty(), entry.host_name.constData());
        // The 1 GiB line's phrase lies past the part of the line that the view shows.
        if (!entry.hit_lines.isEmpty() && entry.hit_lines.first() <= 30 && entry.host_name != "giant.txt")
            QVERIFY2(view.contains(phrase), entry.host_name.constData());
        QVERIFY2(view.size() < 30 * 40'000, entry.host_name.constData());   // giant lines are cut for the view
        check_nothing_open(entry.host_name.constData());
    }
    QVERIFY(w.messages.isEmpty());
}

void TstHostileWindow::search_of_each_file()
{
    Window &w = *m_window;
    w.text1()->setText(phrase);
    for (const QString &name : w.files()) {
        const hostile::Entry &entry = *m_folder->find(search::name_to_host(name));
        if (entry.host_name == "unreadable.txt" && !m_folder->unreadable_is_unreadable())
            continue;
        w.select_file(name);
        w.messages.clear();
        {
            hostile::Deadline deadline(("the search of " + entry.host_name).constData(), 90);
            w.click("Command1");
        }
        QCOMPARE(w.hits(), entries_of(entry));
        // "見つかりません" once for a file with lines but no hit, or that cannot be opened.
        const bool no_line = entry.host_name == "empty.txt";
        QCOMPARE(w.messages, entry.hit_lines.isEmpty() && !no_line ? QStringList{not_found} : QStringList{});
        check_nothing_open(entry.host_name.constData());
    }
}

void TstHostileWindow::folder_search_and_jump_to_each_hit()
{
    Window &w = *m_window;
    w.text1()->setText(phrase);
    w.messages.clear();
    {
        hostile::Deadline deadline("the folder search", 180);
        w.click("Command3");
    }
    QStringList expected;
    for (const QString &name : w.files())
        expected += entries_of(*m_folder->find(search::name_to_host(name)));
    if (!m_folder->unreadable_is_unreadable())
        expected += entries_of(*m_folder->find("unreadable.txt"));
    QStringList shown = w.hits();
    if (!m_folder->unreadable_is_unreadable())
        shown.sort(), expected.sort();
    QCOMPARE(shown, expected);
    QCOMPARE(w.messages, QStringList{finished});
    QVERIFY(w.get<QPushButton>("Command1")->isEnabled());
    QVERIFY(w.get<QPushButton>("Command3")->isEnabled());
    check_nothing_open("the folder search");

    for (int row = 0; row < w.hits().size(); ++row) {
        const auto parts = search::parse_hit_entry(w.hits().at(row));
        QVERIFY(parts);
        {
            hostile::Deadline deadline("a jump", 90);
            w.click_hit(row);
        }
        QCOMPARE(w.form->flglist(), 1);
        QCOMPARE(w.label2(), QString::number(parts->line));
        const QTextCursor selection = w.text2()->textCursor();
        if (parts->name == u"giant.txt") {
            // Beyond the view's cut of a giant line: its front shown, nothing selected.
            QVERIFY(w.text2()->toPlainText().startsWith(QString(100, QChar(0))));
            QVERIFY(!selection.hasSelection());
        } else {
            QVERIFY2(selection.hasSelection(), qPrintable(w.hits().at(row)));
            QCOMPARE(selection.selectedText(), phrase);
        }
        check_nothing_open("a jump");
    }
    QVERIFY(w.messages.size() == 1);
}

void TstHostileWindow::page_moves_at_both_ends_data()
{
    QTest::addColumn<QByteArray>("host_name");
    QTest::addColumn<qint64>("lines");
    QTest::newRow("a file of three lines") << QByteArray("plain.txt") << qint64(3);
    QTest::newRow("a file without lines") << QByteArray("empty.txt") << qint64(0);
    QTest::newRow("a file that cannot be opened") << QByteArray("unreadable.txt") << qint64(0);
    QTest::newRow("a file of bad bytes") << QByteArray("bad bytes.txt") << qint64(4);
    if (m_folder->find("giant.txt")) {
        QTest::newRow("one line of 1 GiB") << QByteArray("giant.txt") << qint64(1);
        QTest::newRow("ten million lines") << QByteArray("ten million lines.txt") << qint64(10'000'000);
    }
}

// ▲ at the top, Enter on the last line, ▼ past it, Enter far past the end and before
// the start: the top line moves as the page view's rules say, and nothing hangs.
void TstHostileWindow::page_moves_at_both_ends()
{
    QFETCH(QByteArray, host_name);
    QFETCH(qint64, lines);
    if (host_name == "unreadable.txt" && !m_folder->unreadable_is_unreadable())
        QSKIP("this process reads files without read permission");
    Window &w = *m_window;
    hostile::Deadline deadline(("page moves in " + host_name).constData(), 120);
    w.select_file(search::name_from_host(host_name));
    QCOMPARE(w.label2(), u"1"_s);

    w.click("Command5");   // ▲ at the top: lines 1 to 9, the top line stays 1
    QCOMPARE(w.label2(), u"1"_s);
    QCOMPARE(w.text2()->toPlainText().count(u'\n'), std::min<qint64>(lines, 9));

    const qint64 last = std::max<qint64>(lines, 1);
    w.enter_line(QString::number(last));
    QCOMPARE(w.label2(), QString::number(last));
    QCOMPARE(w.text2()->toPlainText().count(u'\n'), lines > 0 ? 1 : 0);

    w.click("Command6");   // ▼ on the last line: nothing shown, the top line stays
    QCOMPARE(w.label2(), QString::number(last));
    QCOMPARE(w.text2()->toPlainText(), QString());

    w.enter_line(u"99999999999999999999"_s);
    QCOMPARE(w.text2()->toPlainText(), QString());
    w.enter_line(u"-3"_s);
    QCOMPARE(w.label2(), u"-3"_s);
    QCOMPARE(w.text2()->toPlainText().count(u'\n'), std::min<qint64>(lines, 6));
    check_nothing_open(host_name.constData());
}

// Every line of the ten million a hit: the hit list takes them all, and the last one
// still jumps to its page.
void TstHostileWindow::ten_million_hits()
{
    if (!m_folder->find("ten million lines.txt"))
        QSKIP("the giant files are left out");
    Window &w = *m_window;
    w.select_file(u"ten million lines.txt"_s);
    w.text1()->setText(u"a"_s);
    w.messages.clear();
    {
        hostile::Deadline deadline("a search with ten million hits", 120);
        w.click("Command1");
    }
    QCOMPARE(w.form->hit_list()->count(), 9'999'999);
    QCOMPARE(w.form->hit_list()->text_at(9'999'998), search::make_hit_entry(u"ten million lines.txt"_s, 9'999'999));
    QCOMPARE(w.messages, QStringList());
    {
        hostile::Deadline deadline("the hit list's layout and a jump to its last hit", 120);
        w.click_hit(9'999'998);
    }
    QCOMPARE(w.label2(), u"9999999"_s);
    QCOMPARE(w.text2()->toPlainText(), u"a\nz\n"_s);
    check_nothing_open("ten million hits");
}

// 40,000 files: the folder search visits every position, the last one too.
void TstHostileWindow::more_files_than_a_16_bit_count()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
#ifdef __SANITIZE_ADDRESS__
    // Under AddressSanitizer each file's read buffer comes fresh from the system, some
    // 1.5 ms a file: fewer files there, the count's limit is the normal build's to show.
    constexpr int count = 2'000;
#else
    constexpr int count = 40'000;
#endif
    for (int i = 0; i < count; ++i) {
        QFile file(dir.filePath(u"f%1.txt"_s.arg(i, 5, 10, QChar(u'0'))));
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (i == count - 1)
            file.write(QByteArray(hostile::phrase));
    }
    Window w(QFile::encodeName(dir.path()));
    QCOMPARE(w.file1()->count(), count);
    w.text1()->setText(phrase);
    {
        hostile::Deadline deadline("a folder search over 40,000 files", 120);
        w.click("Command3");
    }
    QCOMPARE(w.hits(), QStringList{search::make_hit_entry(u"f%1.txt"_s.arg(count - 1, 5, 10, QChar(u'0')), 1)});
    QCOMPARE(w.messages, QStringList{finished});
    QCOMPARE(hostile::descriptors_under(QFile::encodeName(dir.path())), QStringList());
}

void TstHostileWindow::deletion_removes_only_the_confirmed_name_data()
{
    QTest::addColumn<QByteArray>("host_name");
    QTest::addColumn<QByteArray>("becomes");
    QTest::newRow("a link goes, its target stays") << QByteArray("link to plain.txt") << QByteArray();
    QTest::newRow("a name of bytes that are not UTF-8") << QByteArray("bad\xff\xfe name.txt") << QByteArray();
    QTest::newRow("a name with a newline") << QByteArray("new\nline.txt") << QByteArray();
    QTest::newRow("a file that became a folder") << QByteArray("report 2.txt") << QByteArray("folder");
    QTest::newRow("a file that became a link") << QByteArray("name with blanks.txt") << QByteArray("link");
    QTest::newRow("a file that became a link to a folder") << QByteArray("plain.txt") << QByteArray("folder link");
}

// The file is listed and selected; then, before the confirmation, it may be replaced.
void TstHostileWindow::deletion_removes_only_the_confirmed_name()
{
    QFETCH(QByteArray, host_name);
    QFETCH(QByteArray, becomes);
    Window &w = *m_window;
    const QByteArray path = m_folder->host_path(host_name);
    w.select_file(search::name_from_host(host_name));
    QCOMPARE(w.file1()->selected_name(), search::name_from_host(host_name));

    if (becomes == "folder") {
        QCOMPARE(::unlink(path.constData()), 0);
        QCOMPARE(::mkdir(path.constData(), 0755), 0);
    } else if (becomes == "link") {
        QCOMPARE(::unlink(path.constData()), 0);
        QCOMPARE(::symlink("plain.txt", path.constData()), 0);
    } else if (becomes == "folder link") {
        QCOMPARE(::unlink(path.constData()), 0);
        QCOMPARE(::symlink("dir.txt", path.constData()), 0);
    }
    w.messages.clear();
    w.answer = search::MessageAnswer::Cancel;
    w.click("Command2");
    QCOMPARE(w.messages, QStringList{u"削除しますか？"_s});
    QCOMPARE(missing_names(*m_folder, m_deleted), QStringList());

    w.answer = search::MessageAnswer::Ok;
    w.click("Command2");
    struct stat info;
    if (becomes == "folder") {
        // A folder is never deleted, whatever name it stands under.
        QCOMPARE(::lstat(path.constData(), &info), 0);
        QVERIFY(S_ISDIR(info.st_mode));
        QCOMPARE(missing_names(*m_folder, m_deleted), QStringList());
    } else {
        QCOMPARE(::lstat(path.constData(), &info), -1);
        m_deleted.append(host_name);
        QCOMPARE(missing_names(*m_folder, m_deleted), QStringList());
        QVERIFY(!w.files().contains(search::name_from_host(host_name)));
    }
    // A folder's contents never go with a name that led to it.
    QCOMPARE(::lstat(m_folder->host_path("dir.txt/inside.txt").constData(), &info), 0);
    check_nothing_open("a deletion");
}

QTEST_MAIN(TstHostileWindow)
#include "tst_hostile_window.moc"
