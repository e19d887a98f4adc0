// Faults in the middle of Vornilex's operations, through the real window offscreen: a
// file that changes between the listing and the search, or between two event rounds of
// the folder search; the window closed inside every event round that an operation opens;
// a read that fails in the middle of a file. Nothing hangs or crashes, nothing is left
// open, and the hits found before a failure are kept.
#include "drive_map.h"
#include "form1.h"
#include "hit_entry.h"
#include "hit_list_model.h"
#include "hostile_folder.h"
#include "list_controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// ---- A read error on demand ----
// While armed, reads of the file at `g_failing_path` fail with EIO from byte
// `g_fail_at` on; every other read goes through. The engine's reads land here because a
// definition in the program comes before the C library's.
namespace {
QByteArray g_failing_path;
off_t g_fail_at = 0;
}  // namespace

extern "C" ssize_t read(int fd, void *buffer, size_t size)
{
    using Read = ssize_t (*)(int, void *, size_t);
    static const Read real = reinterpret_cast<Read>(::dlsym(RTLD_NEXT, "read"));
    if (!g_failing_path.isEmpty()) {
        char target[4096];
        const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
        const ssize_t n = ::readlink(link.constData(), target, sizeof(target));
        if (n > 0 && QByteArray(target, n) == g_failing_path) {
            const off_t at = ::lseek(fd, 0, SEEK_CUR);
            if (at >= g_fail_at) {
                errno = EIO;
                return -1;
            }
            size = std::min<size_t>(size, size_t(g_fail_at - at));
        }
    }
    return real(fd, buffer, size);
}

namespace {

const QString phrase = QString::fromLatin1(hostile::phrase);

struct Window {
    explicit Window(const QByteArray &host_root)
        : form(new search::Form1(search::DriveMap::with_root(host_root), u"C:\\"_s))
    {
        form->set_message_handler([this](QWidget *, const search::MessageRequest &request) {
            messages.append(request.text);
            return search::MessageAnswer::Ok;
        });
        form->start_up();
        form->show();
        dir1()->set_path(u"C:\\"_s);
        text1()->setText(phrase);
    }
    ~Window() { delete form.data(); }

    template <typename T = QWidget> T *get(const char *name) const
    {
        return form->findChild<T *>(QString::fromLatin1(name));
    }
    search::DirList *dir1() const { return get<search::DirList>("Dir1"); }
    search::FileList *file1() const { return get<search::FileList>("File1"); }
    search::HitListView *list1() const { return get<search::HitListView>("List1"); }
    QLineEdit *text1() const { return get<QLineEdit>("Text1"); }
    QLineEdit *text3() const { return get<QLineEdit>("Text3"); }
    void click(const char *button) const { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }
    QStringList hits() const
    {
        QStringList entries;
        for (qsizetype row = 0; row < form->hit_list()->count(); ++row)
            entries.append(form->hit_list()->text_at(row));
        return entries;
    }
    void click_hit(int row) const
    {
        form->hit_list()->commit();
        const QModelIndex index = list1()->model()->index(row, 0);
        QTest::mouseClick(list1()->viewport(), Qt::LeftButton, {}, list1()->visualRect(index).center());
    }

    QPointer<search::Form1> form;
    QStringList messages;
};

// a.txt, b.txt and c.txt, each with the phrase on its first line.
struct ThreeFiles {
    ThreeFiles()
    {
        host = QFile::encodeName(dir.path());
        for (const char *name : {"a.txt", "b.txt", "c.txt"}) {
            QFile file(QFile::decodeName(host + '/' + name));
            if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(hostile::phrase) + "\r\nx\r\n") < 0)
                qFatal("cannot write %s", name);
        }
    }
    QByteArray path(const char *name) const { return host + '/' + name; }

    QTemporaryDir dir;
    QByteArray host;
};

// Changes b.txt as a row says; false when the change could not be made.
bool change_file(const QByteArray &path, const QString &change)
{
    if (change == u"truncated")
        return ::truncate(path.constData(), 0) == 0;
    if (::unlink(path.constData()) != 0)
        return false;
    if (change == u"deleted")
        return true;
    if (change == u"replaced by a folder")
        return ::mkdir(path.constData(), 0755) == 0;
    if (change == u"replaced by a FIFO")
        return ::mkfifo(path.constData(), 0644) == 0;
    if (change == u"replaced by a link to /dev/zero")
        return ::symlink("/dev/zero", path.constData()) == 0;
    return false;
}

QString entry(const char *name) { return search::make_hit_entry(QString::fromLatin1(name), 1); }

}  // namespace

class TstHostileFaults : public QObject {
    Q_OBJECT

private slots:
    void file_changed_after_listing_data();
    void file_changed_after_listing();
    void file_changed_between_two_rounds_data() { file_changed_after_listing_data(); }
    void file_changed_between_two_rounds();
    void window_closed_inside_an_event_round_data();
    void window_closed_inside_an_event_round();
    void another_operation_inside_an_event_round();
    void window_closed_while_a_message_is_up();
    void read_error_in_the_middle_of_a_file();
};

void TstHostileFaults::file_changed_after_listing_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("deleted") << u"deleted"_s;
    QTest::newRow("truncated") << u"truncated"_s;
    QTest::newRow("replaced by a folder") << u"replaced by a folder"_s;
    QTest::newRow("replaced by a FIFO") << u"replaced by a FIFO"_s;
    QTest::newRow("replaced by a link to /dev/zero") << u"replaced by a link to /dev/zero"_s;
}

// The list shows b.txt; it changes before the search of the file and of the folder.
void TstHostileFaults::file_changed_after_listing()
{
    QFETCH(QString, change);
    ThreeFiles files;
    Window w(files.host);
    w.file1()->set_selected(1);
    QCOMPARE(w.file1()->selected_name(), u"b.txt"_s);
    QVERIFY(change_file(files.path("b.txt"), change));

    {
        hostile::Deadline deadline("the search of a changed file", 20);
        w.click("Command1");
    }
    QCOMPARE(w.hits(), QStringList());
    // A file that cannot be opened is "not found"; a file of no bytes has no line to miss.
    QCOMPARE(w.messages, change == u"truncated" ? QStringList() : QStringList{u"見つかりません"_s});

    w.messages.clear();
    {
        hostile::Deadline deadline("the folder search over a changed file", 20);
        w.click("Command3");
    }
    QCOMPARE(w.hits(), (QStringList{entry("a.txt"), entry("c.txt")}));
    QCOMPARE(w.messages, QStringList{u"検索を終了しました"_s});

    {
        hostile::Deadline deadline("the page of a changed file", 20);
        w.click("Command6");
    }
    QCOMPARE(hostile::descriptors_under(files.host), QStringList());
}

// The folder search has read a.txt; in the event round before b.txt, b.txt changes.
void TstHostileFaults::file_changed_between_two_rounds()
{
    QFETCH(QString, change);
    ThreeFiles files;
    Window w(files.host);
    bool changed = false;
    QTimer rounds;
    connect(&rounds, &QTimer::timeout, this, [&] {
        if (!changed && w.form->hit_list()->count() == 1)
            changed = change_file(files.path("b.txt"), change);
    });
    rounds.start(0);
    {
        hostile::Deadline deadline("a folder search whose file changes under it", 20);
        w.click("Command3");
    }
    rounds.stop();
    QVERIFY(changed);
    QCOMPARE(w.hits(), (QStringList{entry("a.txt"), entry("c.txt")}));
    QCOMPARE(w.messages, QStringList{u"検索を終了しました"_s});
    QCOMPARE(hostile::descriptors_under(files.host), QStringList());
}

void TstHostileFaults::window_closed_inside_an_event_round_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("round");   // the event round, counted from 1, that closes the window
    QTest::newRow("folder search, before the first file") << u"folder search"_s << 1;
    QTest::newRow("folder search, between two files") << u"folder search"_s << 2;
    QTest::newRow("folder search, before the last file") << u"folder search"_s << 3;
    QTest::newRow("first page") << u"first page"_s << 1;
    QTest::newRow("line up") << u"line up"_s << 1;
    QTest::newRow("line down") << u"line down"_s << 1;
    QTest::newRow("go to line") << u"go to line"_s << 1;
    QTest::newRow("jump") << u"jump"_s << 1;
}

void TstHostileFaults::window_closed_inside_an_event_round()
{
    QFETCH(QString, operation);
    QFETCH(int, round);
    ThreeFiles files;
    Window w(files.host);
    if (operation == u"jump") {
        w.click("Command3");
        QCOMPARE(w.hits().size(), 3);
    }
    w.messages.clear();

    // A zero timer runs once in each event round the operation lets run.
    int rounds_seen = 0;
    QTimer rounds;
    connect(&rounds, &QTimer::timeout, this, [&] {
        if (++rounds_seen == round)
            w.form->close();
    });
    rounds.start(0);
    {
        hostile::Deadline deadline(qPrintable(operation + u" closed in the middle"_s), 20);
        if (operation == u"folder search")
            w.click("Command3");
        else if (operation == u"first page")
            w.file1()->set_selected(2);
        else if (operation == u"line up")
            w.click("Command5");
        else if (operation == u"line down")
            w.click("Command6");
        else if (operation == u"go to line") {
            w.text3()->setText(u"1"_s);
            QTest::keyClick(w.text3(), Qt::Key_Return);
        } else if (operation == u"jump")
            w.click_hit(1);
    }
    rounds.stop();
    QVERIFY(rounds_seen >= round);
    QVERIFY(w.form);
    QVERIFY(!w.form->isVisible());
    // The run is given up: no message comes from a window that is gone.
    QCOMPARE(w.messages, QStringList());
    if (operation == u"folder search")
        QCOMPARE(w.hits().size(), round - 1);
    QCOMPARE(hostile::descriptors_under(files.host), QStringList());
}

// What a user can do while an operation lets events run: the operation inside runs to
// its end, the outer one goes on undisturbed.
void TstHostileFaults::another_operation_inside_an_event_round()
{
    ThreeFiles files;
    Window w(files.host);

    // The selected c.txt is deleted while the folder search is at b.txt: its position
    // then names no file, and the run ends as usual.
    w.file1()->set_selected(2);
    int rounds_seen = 0;
    QTimer rounds;
    connect(&rounds, &QTimer::timeout, this, [&] {
        if (++rounds_seen == 2)
            w.click("Command2");
    });
    rounds.start(0);
    {
        hostile::Deadline deadline("a deletion inside the folder search", 20);
        w.click("Command3");
    }
    rounds.stop();
    QCOMPARE(w.hits(), (QStringList{entry("a.txt"), entry("b.txt")}));
    QCOMPARE(w.messages, (QStringList{u"削除しますか？"_s, u"検索を終了しました"_s}));
    QVERIFY(!QFile::exists(QFile::decodeName(files.path("c.txt"))));

    // A jump to a.txt's hit while the search reads on.
    QVERIFY(QFile(QFile::decodeName(files.path("c.txt"))).open(QIODevice::WriteOnly));
    w.file1()->refresh();
    w.messages.clear();
    rounds_seen = 0;
    disconnect(&rounds, nullptr, this, nullptr);
    connect(&rounds, &QTimer::timeout, this, [&] {
        if (++rounds_seen == 3)
            w.click_hit(0);
    });
    rounds.start(0);
    {
        hostile::Deadline deadline("a jump inside the folder search", 20);
        w.click("Command3");
    }
    rounds.stop();
    QCOMPARE(w.hits(), (QStringList{entry("a.txt"), entry("b.txt")}));
    QCOMPARE(w.form->flglist(), 1);
    QCOMPARE(w.get<QLabel>("Label2")->text(), u"1"_s);
    QCOMPARE(w.get<QPlainTextEdit>("Text2")->toPlainText(), QString::fromLatin1(hostile::phrase) + u"\nx\n"_s);

    // ▼ clicked while ▲ lets events run: the view ends with ▲'s lines alone.
    w.file1()->set_selected(0);
    rounds_seen = 0;
    disconnect(&rounds, nullptr, this, nullptr);
    connect(&rounds, &QTimer::timeout, this, [&] {
        if (++rounds_seen == 1)
            w.click("Command6");
    });
    rounds.start(0);
    w.click("Command5");
    rounds.stop();
    QCOMPARE(w.get<QLabel>("Label2")->text(), u"1"_s);
    QCOMPARE(w.get<QPlainTextEdit>("Text2")->toPlainText(), QString::fromLatin1(hostile::phrase) + u"\nx\n"_s);
    QCOMPARE(hostile::descriptors_under(files.host), QStringList());
}

// The window goes while the closing message of a search waits for its answer.
void TstHostileFaults::window_closed_while_a_message_is_up()
{
    ThreeFiles files;
    Window w(files.host);
    w.form->set_message_handler([&](QWidget *, const search::MessageRequest &request) {
        w.messages.append(request.text);
        w.form->close();
        return search::MessageAnswer::Ok;
    });
    w.click("Command3");
    QCOMPARE(w.messages, QStringList{u"検索を終了しました"_s});
    QVERIFY(!w.form->isVisible());
    QCOMPARE(hostile::descriptors_under(files.host), QStringList());
}

// a.txt holds the phrase on a line near its start and again far past the point where
// reading it fails; b.txt holds it once.
void TstHostileFaults::read_error_in_the_middle_of_a_file()
{
    QTemporaryDir dir;
    const QByteArray host = QFile::encodeName(dir.path());
    {
        QFile a(dir.filePath(u"a.txt"_s));
        QVERIFY(a.open(QIODevice::WriteOnly));
        a.write("x\r\n" + QByteArray(hostile::phrase) + "\r\n");
        a.write(QByteArray(2 << 20, 'y'));
        a.write("\r\n" + QByteArray(hostile::phrase) + "\r\n");
        QFile b(dir.filePath(u"b.txt"_s));
        QVERIFY(b.open(QIODevice::WriteOnly));
        b.write(QByteArray(hostile::phrase) + "\r\n");
    }
    Window w(host);
    w.file1()->set_selected(0);
    g_failing_path = host + "/a.txt";
    g_fail_at = 1 << 20;

    w.click("Command1");
    QCOMPARE(w.hits(), QStringList{search::make_hit_entry(u"a.txt"_s, 2)});
    QCOMPARE(w.messages, QStringList());

    w.click("Command3");
    g_failing_path.clear();
    QCOMPARE(w.hits(), (QStringList{search::make_hit_entry(u"a.txt"_s, 2), entry("b.txt")}));
    QCOMPARE(w.messages, QStringList{u"検索を終了しました"_s});
    QCOMPARE(hostile::descriptors_under(host), QStringList());
}

QTEST_MAIN(TstHostileFaults)
#include "tst_hostile_faults.moc"
