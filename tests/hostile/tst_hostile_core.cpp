// Vornilex's engine over a hostile folder, without the window: listing, the search of
// each file, reading a page of each, the folder search and the jump to each hit. Each
// ends in bounded time, reads what the folder's ordinary files hold, leaves nothing open,
// and treats every file that is not an ordinary file as a file that cannot be opened.
#include "drive_map.h"
#include "file_path.h"
#include "folder_listing.h"
#include "hit_entry.h"
#include "hostile_folder.h"
#include "page_view.h"
#include "search.h"

#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString pattern = u"*.txt;*.htm;*.doc;*.rtf"_s;
const QString root = u"C:\\"_s;

QString name_of(const hostile::Entry &entry) { return search::name_from_host(entry.host_name); }

}  // namespace

class TstHostileCore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void listing_shows_only_readable_kinds();
    void each_file_searched_alone_data();
    void each_file_searched_alone();
    void first_page_of_each_file_data();
    void first_page_of_each_file();
    void folder_search_and_jumps();
    void files_changed_after_listing_data();
    void files_changed_after_listing();
    void giant_files();

private:
    void add_entry_rows();

    hostile::Folder m_folder{false};
    search::DriveMap m_drives;
    int m_descriptors = 0;
};

void TstHostileCore::initTestCase()
{
    QVERIFY2(m_folder.isValid(), qPrintable(m_folder.error()));
    m_drives = search::DriveMap::with_root(m_folder.host_path());
    m_descriptors = hostile::descriptor_count();
}

void TstHostileCore::listing_shows_only_readable_kinds()
{
    QStringList expected;
    for (const hostile::Entry &entry : m_folder.entries())
        if (entry.listed)
            expected.append(name_of(entry));
    const QStringList listed = search::list_files(m_drives, root, pattern);
    QCOMPARE(QSet<QString>(listed.begin(), listed.end()), QSet<QString>(expected.begin(), expected.end()));
    QCOMPARE(listed.size(), expected.size());
    QVERIFY(!search::list_subfolders(m_drives, root).isEmpty());   // dir.txt is a folder
    QCOMPARE(hostile::descriptor_count(), m_descriptors);
}

void TstHostileCore::add_entry_rows()
{
    QTest::addColumn<QByteArray>("host_name");
    for (const hostile::Entry &entry : m_folder.entries())
        QTest::newRow(entry.host_name.toPercentEncoding(" ").constData()) << entry.host_name;
}

void TstHostileCore::each_file_searched_alone_data() { add_entry_rows(); }

void TstHostileCore::each_file_searched_alone()
{
    QFETCH(QByteArray, host_name);
    const hostile::Entry &entry = *m_folder.find(host_name);
    hostile::WithoutPermissionBypass plain_user;
    QList<qint64> hits;
    search::FileSearchResult result;
    {
        hostile::Deadline deadline(("search_file of " + host_name).constData(), 20);
        result = search::search_file(m_drives, root, name_of(entry), QString::fromLatin1(hostile::phrase),
                                     [&](qint64 line) { hits.append(line); });
    }
    QCOMPARE(hostile::descriptors_under(m_folder.host_path()), QStringList());
    QCOMPARE(hostile::descriptor_count(), m_descriptors);
    if (host_name == "unreadable.txt" && !m_folder.unreadable_is_unreadable())
        QSKIP("this process reads files without read permission");
    // A name holding a backslash cannot be written as a path: it names another file.
    QCOMPARE(result.opened, entry.readable);
    QCOMPARE(hits, entry.hit_lines);
    QVERIFY(!result.read_error);
}

void TstHostileCore::first_page_of_each_file_data() { add_entry_rows(); }

void TstHostileCore::first_page_of_each_file()
{
    QFETCH(QByteArray, host_name);
    const hostile::Entry &entry = *m_folder.find(host_name);
    hostile::WithoutPermissionBypass plain_user;
    search::PageWindow page;
    {
        hostile::Deadline deadline(("read_window of " + host_name).constData(), 20);
        page = search::read_window(m_drives, search::join_path(root, name_of(entry)), 1, 31, 31);
    }
    QCOMPARE(hostile::descriptors_under(m_folder.host_path()), QStringList());
    if (host_name == "unreadable.txt" && !m_folder.unreadable_is_unreadable())
        QSKIP("this process reads files without read permission");
    if (!entry.readable) {
        QCOMPARE(page.text, QString());
        QCOMPARE(page.count, 0);
        return;
    }
    // Every line the page shows ends in CR LF, and the hits are among them.
    QVERIFY(page.text.isEmpty() || page.text.endsWith(u"\r\n"_s));
    QCOMPARE(page.text.count(u"\r\n"_s), std::min<qint64>(page.count, 30));
    if (!entry.hit_lines.isEmpty())
        QVERIFY(page.text.contains(QString::fromLatin1(hostile::phrase)));
}

void TstHostileCore::folder_search_and_jumps()
{
    hostile::WithoutPermissionBypass plain_user;
    const QString phrase = QString::fromLatin1(hostile::phrase);
    const QStringList names = search::list_files(m_drives, root, pattern);
    QStringList entries;
    search::FolderOutcome outcome;
    {
        hostile::Deadline deadline("search_folder of the hostile folder", 30);
        outcome = search::search_folder(m_drives, root, names, phrase, [&](qsizetype position, qint64 line) {
            entries.append(search::make_hit_entry(names.at(position), line));
        });
    }
    QCOMPARE(outcome, search::FolderOutcome::Finished);

    QStringList expected;
    for (const QString &name : names) {
        const hostile::Entry &entry = *m_folder.find(search::name_to_host(name));
        if (entry.host_name == "unreadable.txt" && !m_folder.unreadable_is_unreadable())
            continue;
        for (qint64 line : entry.hit_lines)
            expected.append(search::make_hit_entry(name, line));
    }
    if (!m_folder.unreadable_is_unreadable())
        entries.removeIf([](const QString &e) { return e.startsWith(u"unreadable.txt "_s); });
    QCOMPARE(entries, expected);

    // Each hit, read back from its entry alone, shows its line first, the phrase selected.
    for (const QString &entry : std::as_const(entries)) {
        hostile::Deadline deadline("jump_to_hit", 20);
        const auto jump = search::jump_to_hit(m_drives, root, entry, phrase);
        QVERIFY2(jump.has_value(), qPrintable(entry));
        QVERIFY2(jump->selection.has_value(), qPrintable(entry));
        const QString first_line = jump->view_text.left(jump->view_text.indexOf(u"\r\n"_s));
        QCOMPARE(jump->selection->start, first_line.indexOf(phrase));
        QCOMPARE(jump->selection->length, phrase.size());
    }
    QCOMPARE(hostile::descriptors_under(m_folder.host_path()), QStringList());
    QCOMPARE(hostile::descriptor_count(), m_descriptors);
}

void TstHostileCore::files_changed_after_listing_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QList<qint64>>("middle_hits");
    for (const char *change : {"deleted", "truncated", "replaced by a folder", "replaced by a FIFO",
                               "replaced by a link to /dev/zero", "replaced by a dangling link",
                               "replaced by a link loop", "made unreadable"})
        QTest::newRow(change) << QString::fromLatin1(change) << QList<qint64>{};
    QTest::newRow("grown by a line") << u"grown"_s << QList<qint64>{1, 3};
}

// The folder is listed, then the middle file changes before the search reaches it.
void TstHostileCore::files_changed_after_listing()
{
    QFETCH(QString, change);
    QFETCH(QList<qint64>, middle_hits);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray host = QFile::encodeName(dir.path());
    const QByteArray needle = QByteArray(hostile::phrase) + "\r\n";
    for (const char *name : {"a.txt", "b.txt", "c.txt"}) {
        QFile file(QFile::decodeName(host + '/' + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(needle + "x\r\n");
    }
    const auto drives = search::DriveMap::with_root(host);
    const QStringList names = search::list_files(drives, root, pattern);
    QCOMPARE(names, (QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s}));

    const QByteArray b = host + "/b.txt";
    if (change.startsWith(u"replaced") || change == u"deleted")
        QCOMPARE(::unlink(b.constData()), 0);
    if (change == u"truncated")
        QVERIFY(::truncate(b.constData(), 0) == 0);
    else if (change == u"replaced by a folder")
        QVERIFY(::mkdir(b.constData(), 0755) == 0);
    else if (change == u"replaced by a FIFO")
        QVERIFY(::mkfifo(b.constData(), 0644) == 0);
    else if (change == u"replaced by a link to /dev/zero")
        QVERIFY(::symlink("/dev/zero", b.constData()) == 0);
    else if (change == u"replaced by a dangling link")
        QVERIFY(::symlink("nowhere.txt", b.constData()) == 0);
    else if (change == u"replaced by a link loop")
        QVERIFY(::symlink("b.txt", b.constData()) == 0);
    else if (change == u"made unreadable")
        QVERIFY(::chmod(b.constData(), 0) == 0);
    else if (change == u"grown") {
        QFile file(QFile::decodeName(b));
        QVERIFY(file.open(QIODevice::Append));
        file.write(needle);
    }

    hostile::WithoutPermissionBypass plain_user;
    if (change == u"made unreadable") {
        const int fd = ::open(b.constData(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::close(fd);
            QSKIP("this process reads files without read permission");
        }
    }
    QList<std::pair<qsizetype, qint64>> hits;
    search::FolderOutcome outcome;
    {
        hostile::Deadline deadline("search_folder after a change", 20);
        outcome = search::search_folder(drives, root, names, QString::fromLatin1(hostile::phrase),
                                        [&](qsizetype position, qint64 line) { hits.append({position, line}); });
    }
    QCOMPARE(outcome, search::FolderOutcome::Finished);
    QList<std::pair<qsizetype, qint64>> expected{{0, 1}};
    for (qint64 line : middle_hits)
        expected.append({1, line});
    expected.append({2, 1});
    QCOMPARE(hits, expected);

    // The page view of the changed file: nothing to show but what it now holds.
    search::PageWindow page;
    {
        hostile::Deadline deadline("read_window after a change", 20);
        page = search::read_window(drives, u"C:\\b.txt"_s, 1, 31, 31);
    }
    QCOMPARE(page.count, qint64(middle_hits.isEmpty() ? 0 : 3));
    QCOMPARE(hostile::descriptors_under(host), QStringList());
}

void TstHostileCore::giant_files()
{
    hostile::Folder folder(true);
    QVERIFY2(folder.isValid(), qPrintable(folder.error()));
    const auto drives = search::DriveMap::with_root(folder.host_path());
    const QString phrase = QString::fromLatin1(hostile::phrase);

    {
        // One line of 1 GiB: searched in bounded memory, the phrase at its very end found.
        hostile::Deadline deadline("search_file of the 1 GiB line", 90);
        QList<qint64> hits;
        const auto result = search::search_file(drives, root, u"giant.txt"_s, phrase,
                                                [&](qint64 line) { hits.append(line); });
        QCOMPARE(hits, QList<qint64>{1});
        QCOMPARE(result.lines, 1);
    }
    {
        // Its first page is cut for the view, and the count still sees the whole line.
        hostile::Deadline deadline("read_window of the 1 GiB line", 90);
        const auto page = search::read_window(drives, u"C:\\giant.txt"_s, 1, 31, 31);
        QCOMPARE(page.count, 1);
        QVERIFY(page.text.size() < 40'000);
        QVERIFY(page.text.endsWith(u" …\r\n"_s));
    }
    {
        hostile::Deadline deadline("search_file of ten million lines", 90);
        qint64 hits = 0;
        const auto result = search::search_file(drives, root, u"ten million lines.txt"_s, u"z"_s,
                                                [&](qint64 line) { hits += line; });
        QCOMPARE(hits, 10'000'000);
        QCOMPARE(result.lines, 10'000'000);
    }
    {
        // The page at the far end reads every line before it.
        hostile::Deadline deadline("read_window at the end of ten million lines", 90);
        const auto page = search::read_window(drives, u"C:\\ten million lines.txt"_s, 9'999'999,
                                              10'000'009, 10'000'009);
        QCOMPARE(page.text, u"a\r\nz\r\n"_s);
        QCOMPARE(page.count, 10'000'000);
    }
    QCOMPARE(hostile::descriptors_under(folder.host_path()), QStringList());
}

QTEST_GUILESS_MAIN(TstHostileCore)
#include "tst_hostile_core.moc"
