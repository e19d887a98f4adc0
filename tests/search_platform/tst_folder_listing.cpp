#include "folder_listing.h"

#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace search;
using namespace Qt::StringLiterals;

class TstFolderListing : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void matches_pattern_data();
    void matches_pattern();
    void lists_only_matching_regular_files();
    void order_is_case_insensitive_with_exact_ties();
    void subfolders();
    void unreadable_folder_lists_nothing();
    void file_named_in_bytes_that_are_not_utf8();

private:
    void touch(const QByteArray &relative, const QByteArray &content = {});
    QTemporaryDir m_dir;
    DriveMap m_drives;
};

static const QString pattern = u"*.txt;*.htm;*.doc;*.rtf"_s;

void TstFolderListing::touch(const QByteArray &relative, const QByteArray &content)
{
    // Raw bytes: a name need not be valid UTF-8.
    const QByteArray path = m_dir.path().toLocal8Bit() + "/" + relative;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, content.constData(), size_t(content.size())), ssize_t(content.size()));
    ::close(fd);
}

void TstFolderListing::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_drives = DriveMap::with_root(m_dir.path().toLocal8Bit());
    const QByteArray root = m_dir.path().toLocal8Bit();
    QVERIFY(::mkdir(root + "/f", 0755) == 0);
    for (const char *name : {"b.txt", "NOTES.TXT", "notes.text", "a.HTM", "B.txt", "c.doc", "d.rtf",
                             ".hidden.txt", "back\\slash.txt", "readme"})
        touch(QByteArray("f/") + name);
    QVERIFY(::mkdir(root + "/f/folder.txt", 0755) == 0);
    QVERIFY(::mkfifo(root + "/f/x.txt", 0644) == 0);
    QVERIFY(::symlink("b.txt", root + "/f/link.txt") == 0);
    QVERIFY(::symlink("missing", root + "/f/dangling.txt") == 0);
    QVERIFY(::mkdir(root + "/f/Sub", 0755) == 0);
    QVERIFY(::mkdir(root + "/f/alpha", 0755) == 0);
    QVERIFY(::mkdir(root + "/f/.git", 0755) == 0);
    QVERIFY(::symlink("Sub", root + "/f/sublink") == 0);
}

void TstFolderListing::matches_pattern_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("matches");

    QTest::newRow("upper-case extension") << u"NOTES.TXT"_s << pattern << true;
    QTest::newRow("longer extension") << u"notes.text"_s << pattern << false;
    QTest::newRow("second pattern") << u"a.htm"_s << pattern << true;
    QTest::newRow("last pattern") << u"a.rtf"_s << pattern << true;
    QTest::newRow("extension alone") << u".txt"_s << pattern << true;
    QTest::newRow("whole name, not a part") << u"a.txt.bak"_s << pattern << false;
    QTest::newRow("star may be empty") << u"ab"_s << u"a*b"_s << true;
    QTest::newRow("backtracking star") << u"aXbXb"_s << u"a*b"_s << true;
    QTest::newRow("question mark is one") << u"ab"_s << u"a?b"_s << false;
    QTest::newRow("question mark") << u"axb"_s << u"a?b"_s << true;
    QTest::newRow("wide letters fold") << u"ＡＢ.TXT"_s << u"ａｂ.txt"_s << true;
    QTest::newRow("many stars stay fast") << QString(200, u'a') << (QString(50, u'*') + u"b"_s) << false;
}

void TstFolderListing::matches_pattern()
{
    QFETCH(QString, name);
    QFETCH(QString, pattern);
    QFETCH(bool, matches);
    QCOMPARE(search::matches_pattern(name, pattern), matches);
}

void TstFolderListing::lists_only_matching_regular_files()
{
    // No folder, FIFO, hidden name, name with a backslash or dangling link; a link to a
    // file counts as that file. Listing a FIFO must not block.
    QCOMPARE(list_files(m_drives, u"C:\\f"_s, pattern),
             QStringList({u"a.HTM"_s, u"B.txt"_s, u"b.txt"_s, u"c.doc"_s, u"d.rtf"_s,
                          u"link.txt"_s, u"NOTES.TXT"_s}));
}

void TstFolderListing::order_is_case_insensitive_with_exact_ties()
{
    const QStringList names = list_files(m_drives, u"C:\\\\f\\"_s, u"*"_s);
    QVERIFY(names.indexOf(u"B.txt"_s) + 1 == names.indexOf(u"b.txt"_s));
    QVERIFY(names.indexOf(u"readme"_s) > names.indexOf(u"NOTES.TXT"_s));
}

void TstFolderListing::subfolders()
{
    QCOMPARE(list_subfolders(m_drives, u"C:\\f"_s),
             QStringList({u"alpha"_s, u"folder.txt"_s, u"Sub"_s, u"sublink"_s}));
    QVERIFY(folder_exists(m_drives, u"C:\\f\\Sub"_s));
    QVERIFY(folder_exists(m_drives, u"C:\\"_s));
    QVERIFY(!folder_exists(m_drives, u"C:\\f\\b.txt"_s));
    QVERIFY(!folder_exists(m_drives, u"C:\\nowhere"_s));
    QVERIFY(!folder_exists(m_drives, u"C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ"_s));
}

void TstFolderListing::unreadable_folder_lists_nothing()
{
    QVERIFY(list_files(m_drives, u"C:\\nowhere"_s, pattern).isEmpty());
    QVERIFY(list_files(m_drives, u"C:\\f\\b.txt"_s, pattern).isEmpty());
    QVERIFY(list_files(m_drives, u"Q:\\"_s, pattern).isEmpty());
    QVERIFY(list_subfolders(m_drives, u"C:\\f\\x.txt"_s).isEmpty());
}

void TstFolderListing::file_named_in_bytes_that_are_not_utf8()
{
    touch("\x83\x81\x83\x82.txt", "x");   // "メモ.txt" in Shift_JIS bytes
    const QStringList names = list_files(m_drives, u"C:\\"_s, pattern);
    QCOMPARE(names.size(), 1);
    QCOMPARE(name_to_host(names.first()), "\x83\x81\x83\x82.txt"_ba);
    // The listed name names that very file.
    const std::optional<QByteArray> host = m_drives.to_host(u"C:\\"_s + names.first());
    QVERIFY(host);
    QVERIFY(::access(host->constData(), R_OK) == 0);
}

QTEST_GUILESS_MAIN(TstFolderListing)
#include "tst_folder_listing.moc"
