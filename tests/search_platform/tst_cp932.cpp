#include "cp932.h"

#include <QStringDecoder>
#include <QTest>
#include <random>

using namespace search;
using namespace Qt::StringLiterals;

class TstCp932 : public QObject {
    Q_OBJECT
private slots:
    void valid_text_decodes_as_the_codec_does();
    void ascii_half_is_ascii();
    void bad_bytes_data();
    void bad_bytes();
    void stream_decoder_splits_anywhere();
    void every_encoding_decodes_back();
    void encode_phrase_data();
    void encode_phrase();
};

static QString units(std::u16string_view s)
{
    return QString(reinterpret_cast<const QChar *>(s.data()), qsizetype(s.size()));
}

void TstCp932::valid_text_decodes_as_the_codec_does()
{
    const cp932::Table &t = cp932::Table::get();
    QByteArray text;
    for (int b = 0; b < 256; ++b)
        if (t.is_single(uchar(b)) && b != 0x1A && b != 0x1C && b != 0x7F)   // the codec rotates these
            text += char(b);
    int pairs = 0;
    for (int lead = 0; lead < 256; ++lead)
        for (int trail = 0; trail < 256; ++trail)
            if (t.pair(uchar(lead), uchar(trail))) {
                text += char(lead);
                text += char(trail);
                ++pairs;
            }
    QVERIFY(pairs > 7000);   // JIS X 0208 with the NEC and IBM rows
    QStringDecoder codec("Shift_JIS");
    QVERIFY(codec.isValid());
    const QString expected = codec.decode(text);
    QCOMPARE(cp932::decode(text), expected);
    QVERIFY(!expected.contains(QChar(cp932::replacement)));
}

void TstCp932::ascii_half_is_ascii()
{
    QByteArray all;
    for (int b = 0; b < 0x80; ++b)
        all += char(b);
    QCOMPARE(cp932::decode(all), QString::fromLatin1(all));
    QVERIFY(cp932::Table::get().ascii_is_identity());
}

void TstCp932::bad_bytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("lead byte at the end") << "a\x82"_ba << u"a\uFFFD"_s;
    QTest::newRow("lead byte alone") << "\x81"_ba << u"\uFFFD"_s;
    QTest::newRow("lead before a blank keeps the blank") << "\x81 "_ba << u"\uFFFD "_s;
    QTest::newRow("lead before CR keeps the CR") << "\x82\r"_ba << u"\uFFFD\r"_s;
    QTest::newRow("unassigned pair keeps a valid trail") << "\x85\x40"_ba << u"\uFFFD@"_s;
    QTest::newRow("bytes that are never characters") << "\x80\xa0\xfd\xfe\xff"_ba << QString(5, QChar(0xFFFD));
    QTest::newRow("valid around a bad byte") << "\x82\xa0\xff\x82\xa2"_ba << u"あ\uFFFDい"_s;
    QTest::newRow("yen sign byte is backslash") << "\x5c"_ba << u"\\"_s;
    QTest::newRow("half-width katakana") << "\xb6\xc0"_ba << u"ｶﾀ"_s;
    QTest::newRow("wave dash row as code page 932") << "\x81\x60\x81\x5f"_ba << u"\uFF5E\uFF3C"_s;
    QTest::newRow("NEC row") << "\x87\x40"_ba << u"①"_s;
    QTest::newRow("IBM row") << "\xfa\x40"_ba << u"ⅰ"_s;
    QTest::newRow("empty") << QByteArray() << QString();
}

void TstCp932::bad_bytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(cp932::decode(bytes), text);
}

void TstCp932::stream_decoder_splits_anywhere()
{
    std::mt19937 rng(7);
    const QByteArray alphabet = "a\r\n\x81\x82\x85\x87\x9f\xe0\xfc\xfd\x40\x7f\xa0\xa1\xdf"_ba;
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes;
        for (int i = 0, n = int(rng() % 40); i < n; ++i)
            bytes += rng() % 2 ? alphabet.at(int(rng() % alphabet.size())) : char(rng() % 256);
        const QString whole = cp932::decode(bytes);
        cp932::StreamDecoder stream;
        std::u16string out;
        for (qsizetype at = 0; at < bytes.size();) {
            const qsizetype n = std::min<qsizetype>(qsizetype(1 + rng() % 5), bytes.size() - at);
            stream.feed(bytes.constData() + at, n, out);
            at += n;
        }
        stream.finish(out);
        QCOMPARE(units(out), whole);
    }
}

void TstCp932::every_encoding_decodes_back()
{
    const cp932::Table &t = cp932::Table::get();
    for (int c = 0; c < 0x10000; ++c) {
        const std::optional<QByteArray> bytes = t.encode(char16_t(c));
        QCOMPARE(bool(bytes), t.encodings_of(char16_t(c)) > 0);
        if (bytes)
            QCOMPARE(cp932::decode(*bytes), QString(QChar(c)));
    }
    QCOMPARE(t.encodings_of(cp932::replacement), 0);
}

void TstCp932::encode_phrase_data()
{
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("bytes");

    using K = cp932::PhraseBytes;
    QTest::newRow("kanji") << u"東京都庁"_s << int(K::Unique) << "\x93\x8c\x8b\x9e\x93\x73\x92\xa1"_ba;
    QTest::newRow("ascii") << u"zzqqxxyy"_s << int(K::Unique) << "zzqqxxyy"_ba;
    QTest::newRow("half-width") << u"ｶﾀｶﾅ"_s << int(K::Unique) << "\xb6\xc0\xb6\xc5"_ba;
    QTest::newRow("character with two encodings") << u"a≒"_s << int(K::Ambiguous) << QByteArray();
    QTest::newRow("NEC and IBM both write this") << u"ⅰ"_s << int(K::Ambiguous) << QByteArray();
    QTest::newRow("replacement character") << u"a\uFFFD"_s << int(K::Ambiguous) << QByteArray();
    QTest::newRow("no encoding at all") << u"a😀"_s << int(K::Impossible) << QByteArray();
    QTest::newRow("no encoding wins over replacement") << u"\uFFFD€"_s << int(K::Impossible) << QByteArray();
}

void TstCp932::encode_phrase()
{
    QFETCH(QString, phrase);
    QFETCH(int, kind);
    QFETCH(QByteArray, bytes);
    const cp932::EncodedPhrase e = cp932::encode_phrase(phrase);
    QCOMPARE(int(e.kind), kind);
    QCOMPARE(e.bytes, bytes);
}

QTEST_GUILESS_MAIN(TstCp932)
#include "tst_cp932.moc"
