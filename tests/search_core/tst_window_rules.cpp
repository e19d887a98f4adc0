#include "window_rules.h"

#include <QTest>

using namespace search;
using namespace Qt::StringLiterals;

class TstWindowRules : public QObject {
    Q_OBJECT
private slots:
    void start_folders_data();
    void start_folders();
    void view_box_size_data();
    void view_box_size();
};

void TstWindowRules::start_folders_data()
{
    QTest::addColumn<QString>("program_folder");
    QTest::addColumn<QString>("directory_list");
    QTest::addColumn<QString>("file_list");

    QTest::newRow("drive C") << u"C:\\Tools"_s << u"C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ"_s << u"C:\\windows\\ﾃﾞｽｸﾄｯﾌﾟ"_s;
    QTest::newRow("another drive") << u"D:\\Apps"_s << u"D:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ"_s << u"D:\\windows\\ﾃﾞｽｸﾄｯﾌﾟ"_s;
    QTest::newRow("network path") << u"\\\\server\\share"_s << u"\\:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ"_s << u"\\:\\windows\\ﾃﾞｽｸﾄｯﾌﾟ"_s;
    QTest::newRow("empty") << QString() << u":\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ"_s << u":\\windows\\ﾃﾞｽｸﾄｯﾌﾟ"_s;
}

void TstWindowRules::start_folders()
{
    QFETCH(QString, program_folder);
    QFETCH(QString, directory_list);
    QFETCH(QString, file_list);
    const StartFolders f = search::start_folders(program_folder);
    QCOMPARE(f.directory_list, directory_list);
    QCOMPARE(f.file_list, file_list);
    QCOMPARE(f.directory_list.size() - program_folder.left(1).size(), 18);
}

void TstWindowRules::view_box_size_data()
{
    QTest::addColumn<float>("outer_width");
    QTest::addColumn<float>("outer_height");
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::newRow("usual") << 7000.0f << 6000.0f << 6500.0f << 880.0f;
    QTest::newRow("short window gives a negative height") << 3000.0f << 4000.0f << 2500.0f << -1120.0f;
    QTest::newRow("fractions kept") << 600.5f << 5120.25f << 100.5f << 0.25f;
}

void TstWindowRules::view_box_size()
{
    QFETCH(float, outer_width);
    QFETCH(float, outer_height);
    QFETCH(float, width);
    QFETCH(float, height);
    const auto [w, h] = search::view_box_size(outer_width, outer_height);
    QCOMPARE(w, width);
    QCOMPARE(h, height);
}

QTEST_GUILESS_MAIN(TstWindowRules)
#include "tst_window_rules.moc"
