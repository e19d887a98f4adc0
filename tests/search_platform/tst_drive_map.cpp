#include "drive_map.h"

#include <QTest>
#include <random>

using namespace search;
using namespace Qt::StringLiterals;

class TstDriveMap : public QObject {
    Q_OBJECT
private slots:
    void to_host_data();
    void to_host();
    void to_drive_path_data();
    void to_drive_path();
    void host_names_round_trip_data();
    void host_names_round_trip();
    void random_host_names_round_trip();
    void system_map_has_host_root();
};

static DriveMap test_map()
{
    DriveMap map = DriveMap::with_root("/srv/c");
    map.add(u'D', "/srv/c/media/usb/");   // a volume inside another drive's folder
    return map;
}

void TstDriveMap::to_host_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("host");   // empty: no host path

    QTest::newRow("folders below the root") << u"C:\\home\\ann\\memo.txt"_s << "/srv/c/home/ann/memo.txt"_ba;
    QTest::newRow("lower-case letter") << u"c:\\a"_s << "/srv/c/a"_ba;
    QTest::newRow("root with backslash") << u"C:\\"_s << "/srv/c"_ba;
    QTest::newRow("root without backslash") << u"C:"_s << "/srv/c"_ba;
    QTest::newRow("run of backslashes reads as one") << u"C:\\a\\\\b\\"_s << "/srv/c/a/b"_ba;
    QTest::newRow("root folder joined with a name") << u"C:\\\\memo.txt"_s << "/srv/c/memo.txt"_ba;
    QTest::newRow("dots passed through") << u"C:\\a\\..\\b"_s << "/srv/c/a/../b"_ba;
    QTest::newRow("second drive") << u"D:\\x.txt"_s << "/srv/c/media/usb/x.txt"_ba;
    QTest::newRow("half-width katakana as UTF-8") << u"C:\\ﾃﾞｽｸ"_s << "/srv/c/\xef\xbe\x83\xef\xbe\x9e\xef\xbd\xbd\xef\xbd\xb8"_ba;
    QTest::newRow("escaped byte goes back raw") << u"C:\\a\xDCFF"_s << "/srv/c/a\xff"_ba;
    QTest::newRow("unknown drive") << u"E:\\a"_s << QByteArray();
    QTest::newRow("no colon") << u"C\\a"_s << QByteArray();
    QTest::newRow("network path") << u"\\:\\WINDOWS"_s << QByteArray();
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("NUL in a name") << u"C:\\a\0b"_s << QByteArray();
}

void TstDriveMap::to_host()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, host);
    const std::optional<QByteArray> got = test_map().to_host(path);
    QCOMPARE(got.value_or(QByteArray()), host);
}

void TstDriveMap::to_drive_path_data()
{
    QTest::addColumn<QByteArray>("host");
    QTest::addColumn<QString>("path");   // empty: none

    QTest::newRow("root itself") << "/srv/c"_ba << u"C:\\"_s;
    QTest::newRow("below the root") << "/srv/c/a/b"_ba << u"C:\\a\\b"_s;
    QTest::newRow("runs of slashes") << "/srv/c//a///b/"_ba << u"C:\\a\\b"_s;
    QTest::newRow("longest root wins") << "/srv/c/media/usb/x"_ba << u"D:\\x"_s;
    QTest::newRow("prefix that is no folder") << "/srv/cc/a"_ba << QString();
    QTest::newRow("outside every drive") << "/etc"_ba << QString();
    QTest::newRow("name holding a backslash") << "/srv/c/a\\b"_ba << QString();
    QTest::newRow("relative") << "srv/c"_ba << QString();
}

void TstDriveMap::to_drive_path()
{
    QFETCH(QByteArray, host);
    QFETCH(QString, path);
    QCOMPARE(test_map().to_drive_path(host).value_or(QString()), path);
}

void TstDriveMap::host_names_round_trip_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("name");

    QTest::newRow("ascii") << "memo.txt"_ba << u"memo.txt"_s;
    QTest::newRow("valid UTF-8") << "\xe6\x97\xa5.txt"_ba << u"日.txt"_s;
    QTest::newRow("four-byte UTF-8") << "\xf0\x9f\x98\x80"_ba << u"\U0001F600"_s;
    QTest::newRow("Shift_JIS bytes escaped") << "\x93\xfa.txt"_ba << u"\xDC93\xDCFA.txt"_s;
    QTest::newRow("truncated sequence") << "a\xe6\x97"_ba << u"a\xDCE6\xDC97"_s;
    QTest::newRow("overlong slash") << "\xc0\xaf"_ba << u"\xDCC0\xDCAF"_s;
    QTest::newRow("encoded surrogate") << "\xed\xa0\x80"_ba << u"\xDCED\xDCA0\xDC80"_s;
    QTest::newRow("beyond U+10FFFF") << "\xf4\x90\x80\x80"_ba << u"\xDCF4\xDC90\xDC80\xDC80"_s;
}

void TstDriveMap::host_names_round_trip()
{
    QFETCH(QByteArray, raw);
    QFETCH(QString, name);
    QCOMPARE(name_from_host(raw), name);
    QCOMPARE(name_to_host(name), raw);
}

void TstDriveMap::random_host_names_round_trip()
{
    std::mt19937 rng(932);
    // Bytes weighted towards UTF-8's lead and continuation bytes, so that valid and broken
    // sequences of every length meet.
    const QByteArray alphabet = "a.\x80\xbf\xc2\xdf\xe0\xe6\xed\xef\xf0\xf4\xf5\xff\x97\xa0"_ba;
    for (int round = 0; round < 20000; ++round) {
        QByteArray raw;
        const int length = int(rng() % 12);
        for (int i = 0; i < length; ++i)
            raw += rng() % 3 ? alphabet.at(int(rng() % alphabet.size())) : char(rng() % 256);
        QCOMPARE(name_to_host(name_from_host(raw)), raw);
    }
}

void TstDriveMap::system_map_has_host_root()
{
    const DriveMap map = DriveMap::system();
    QCOMPARE(map.root_of(u'C').value_or(QByteArray()), "/"_ba);
    QCOMPARE(map.to_host(u"C:\\etc"_s).value_or(QByteArray()), "/etc"_ba);
    QCOMPARE(map.to_drive_path("/"_ba).value_or(QString()), u"C:\\"_s);
}

QTEST_GUILESS_MAIN(TstDriveMap)
#include "tst_drive_map.moc"
