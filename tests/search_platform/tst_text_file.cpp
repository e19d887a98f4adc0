#include "text_file.h"

#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace search;
using namespace Qt::StringLiterals;

class TstTextFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void reads_a_regular_file_to_its_end();
    void cannot_open_data();
    void cannot_open();
    void moved_from_file_reads_as_ended();
    void closes_its_descriptor();
    void delete_removes_a_regular_file();
    void delete_removes_a_link_not_its_target();
    void delete_never_removes_other_kinds_data();
    void delete_never_removes_other_kinds();

private:
    QByteArray host(const char *name) const { return m_dir->path().toLocal8Bit() + "/" + name; }
    void write(const char *name, const QByteArray &content);
    std::unique_ptr<QTemporaryDir> m_dir;
    DriveMap m_drives;
};

void TstTextFile::write(const char *name, const QByteArray &content)
{
    const int fd = ::open(host(name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, content.constData(), size_t(content.size())), ssize_t(content.size()));
    ::close(fd);
}

void TstTextFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_drives = DriveMap::with_root(m_dir->path().toLocal8Bit());
    write("a.txt", "abc\r\ndef");
    write("empty.txt", "");
    QVERIFY(::mkdir(host("folder.txt"), 0755) == 0);
    QVERIFY(::mkfifo(host("x.txt"), 0644) == 0);
    QVERIFY(::symlink("a.txt", host("link.txt")) == 0);
    QVERIFY(::symlink("folder.txt", host("dirlink.txt")) == 0);
    QVERIFY(::symlink("missing.txt", host("dangling.txt")) == 0);
}

void TstTextFile::reads_a_regular_file_to_its_end()
{
    for (const QString &path : {u"C:\\a.txt"_s, u"C:\\\\link.txt"_s}) {
        std::optional<TextFile> f = TextFile::open(m_drives, path);
        QVERIFY(f);
        char buffer[64];
        QCOMPARE(f->read(buffer, sizeof buffer), 8);
        QCOMPARE(QByteArray(buffer, 8), "abc\r\ndef"_ba);
        QCOMPARE(f->read(buffer, sizeof buffer), 0);
    }
    std::optional<TextFile> empty = TextFile::open(m_drives, u"C:\\empty.txt"_s);
    QVERIFY(empty);
    char byte;
    QCOMPARE(empty->read(&byte, 1), 0);
}

void TstTextFile::cannot_open_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("FIFO does not block") << u"C:\\x.txt"_s;
    QTest::newRow("folder") << u"C:\\folder.txt"_s;
    QTest::newRow("link to a folder") << u"C:\\dirlink.txt"_s;
    QTest::newRow("dangling link") << u"C:\\dangling.txt"_s;
    QTest::newRow("missing") << u"C:\\none.txt"_s;
    QTest::newRow("no name: the folder") << u"C:\\"_s;
    QTest::newRow("unknown drive") << u"Q:\\a.txt"_s;
    QTest::newRow("device") << u"C:\\..\\..\\..\\..\\..\\..\\..\\..\\dev\\zero"_s;
}

void TstTextFile::cannot_open()
{
    QFETCH(QString, path);
    QVERIFY(!TextFile::open(m_drives, path));
}

void TstTextFile::moved_from_file_reads_as_ended()
{
    std::optional<TextFile> f = TextFile::open(m_drives, u"C:\\a.txt"_s);
    QVERIFY(f);
    TextFile moved = std::move(*f);
    char buffer[4];
    QCOMPARE(f->read(buffer, 4), 0);
    QCOMPARE(moved.read(buffer, 4), 4);
}

void TstTextFile::closes_its_descriptor()
{
    // The next descriptor the process gets is the lowest free one: it comes back once
    // the file is gone.
    const int probe = ::dup(0);
    ::close(probe);
    {
        std::optional<TextFile> f = TextFile::open(m_drives, u"C:\\a.txt"_s);
        QVERIFY(f);
        QVERIFY(!TextFile::open(m_drives, u"C:\\x.txt"_s));   // the FIFO's handle is closed too
    }
    const int again = ::dup(0);
    ::close(again);
    QCOMPARE(again, probe);
}

void TstTextFile::delete_removes_a_regular_file()
{
    QVERIFY(delete_file(m_drives, u"C:\\a.txt"_s));
    QVERIFY(::access(host("a.txt"), F_OK) != 0);
    QVERIFY(!delete_file(m_drives, u"C:\\a.txt"_s));   // already gone
}

void TstTextFile::delete_removes_a_link_not_its_target()
{
    QVERIFY(delete_file(m_drives, u"C:\\link.txt"_s));
    struct stat st;
    QVERIFY(::lstat(host("link.txt"), &st) != 0);
    QVERIFY(::access(host("a.txt"), R_OK) == 0);
    QVERIFY(delete_file(m_drives, u"C:\\dangling.txt"_s));
    QVERIFY(::lstat(host("dangling.txt"), &st) != 0);
}

void TstTextFile::delete_never_removes_other_kinds_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("left");   // what must still be there
    QTest::newRow("folder") << u"C:\\folder.txt"_s << "folder.txt"_ba;
    QTest::newRow("no name: the folder itself") << u"C:\\folder.txt\\"_s << "folder.txt"_ba;
    QTest::newRow("FIFO") << u"C:\\x.txt"_s << "x.txt"_ba;
    QTest::newRow("the drive's root") << u"C:\\"_s << ""_ba;
}

void TstTextFile::delete_never_removes_other_kinds()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, left);
    QVERIFY(!delete_file(m_drives, path));
    struct stat st;
    QVERIFY(::lstat(host(left.constData()), &st) == 0);
}

QTEST_GUILESS_MAIN(TstTextFile)
#include "tst_text_file.moc"
