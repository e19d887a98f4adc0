#include "convert_case.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using counter::CaseDirection;

Q_DECLARE_METATYPE(counter::CaseDirection)

class TstConvertCase : public QObject {
    Q_OBJECT

private slots:
    void conversions_data();
    void conversions();
};

void TstConvertCase::conversions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<CaseDirection>("direction");
    QTest::addColumn<QString>("converted");

    const auto up = CaseDirection::ToUpper;
    const auto down = CaseDirection::ToLower;
    QTest::newRow("empty") << u""_s << up << u""_s;
    QTest::newRow("Latin to upper, kana and digit stay") << u"Abc あ1"_s << up << u"ABC あ1"_s;
    QTest::newRow("Latin to lower, kana and digit stay") << u"Abc あ1"_s << down << u"abc あ1"_s;
    QTest::newRow("no case at all stays")
        << u"日本語カナｶﾅ　 0１!、\r\n\t"_s << up << u"日本語カナｶﾅ　 0１!、\r\n\t"_s;
    QTest::newRow("full-width Latin to upper") << u"ａｂｃＸｙｚ"_s << up << u"ＡＢＣＸＹＺ"_s;
    QTest::newRow("full-width Latin to lower") << u"ａｂｃＸｙｚ"_s << down << u"ａｂｃｘｙｚ"_s;
    QTest::newRow("accented letters") << u"éÀñ"_s << up << u"ÉÀÑ"_s;
    QTest::newRow("Greek to upper, final sigma too") << u"αβγ λόγος"_s << up << u"ΑΒΓ ΛΌΓΟΣ"_s;
    QTest::newRow("Greek to lower") << u"ΣΩ"_s << down << u"σω"_s;
    QTest::newRow("Cyrillic to upper") << u"Привет"_s << up << u"ПРИВЕТ"_s;
    QTest::newRow("Cyrillic to lower") << u"ЖЁЛТЫЙ"_s << down << u"жёлтый"_s;

    // Letters whose full mapping takes more units keep their length.
    QTest::newRow("sharp s stays") << u"straße"_s << up << u"STRAßE"_s;
    QTest::newRow("ligature fi stays") << u"\uFB01x"_s << up << u"\uFB01X"_s;
    QTest::newRow("n with apostrophe stays") << u"\u0149"_s << up << u"\u0149"_s;
    QTest::newRow("iota with two accents stays") << u"\u0390"_s << up << u"\u0390"_s;
    QTest::newRow("dotted capital I lowers to one unit") << u"\u0130"_s << down << u"i"_s;
    QTest::newRow("iota subscript to upper by the simple mapping")
        << u"\u1FB3\u1F80"_s << up << u"\u1FBC\u1F88"_s;
    QTest::newRow("title-case digraph to upper") << u"\u01C5"_s << up << u"\u01C4"_s;

    QTest::newRow("surrogate pair of an emoji stays") << u"a😀b"_s << up << u"A😀B"_s;
    QTest::newRow("surrogate pair of a cased letter stays")
        << u"\U00010428\U00010400"_s << up << u"\U00010428\U00010400"_s;
    QTest::newRow("lone surrogates stay")
        << u"x\xD800y\xDC00"_s << up << u"X\xD800Y\xDC00"_s;
}

void TstConvertCase::conversions()
{
    QFETCH(QString, text);
    QFETCH(CaseDirection, direction);
    QFETCH(QString, converted);
    QCOMPARE(counter::convert_case(text, direction), converted);
}

QTEST_GUILESS_MAIN(TstConvertCase)
#include "tst_convert_case.moc"
