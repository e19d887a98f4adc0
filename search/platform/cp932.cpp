#include "cp932.h"

#include <QStringDecoder>
#include <cstring>

namespace search::cp932 {

namespace {

// The codec's substitute for a byte it cannot map (byte 0x1A itself is taken as ASCII).
constexpr char16_t codec_substitute = u'\x1A';

bool codec_gave_one_character(const QString &s, char16_t &c)
{
    if (s.size() != 1)
        return false;
    c = s.at(0).unicode();
    return c != replacement && c != codec_substitute;
}

}  // namespace

Table::Table()
    : m_encodings(65536, 0), m_first_encoding(65536, 0)
{
    m_lead_row.fill(0xFF);
    QStringDecoder codec("Shift_JIS", QStringDecoder::Flag::Stateless);
    if (!codec.isValid())
        return;   // no codec: every byte from 0x80 up decodes to U+FFFD, ASCII below

    auto count = [this](char16_t c, uint16_t bytes) {
        if (m_encodings[c] == 0)
            m_first_encoding[c] = bytes;
        if (m_encodings[c] < 2)
            ++m_encodings[c];
    };

    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const QString s = codec.decode(QByteArrayView(&byte, 1));
        char16_t c = 0;
        if (codec_gave_one_character(s, c)) {
            m_single[b] = c;
            m_single_valid[b] = true;
        }
    }

    // Code page 932's lower half is ASCII, control characters included. The codec swaps
    // some control codes as an IBM host code page does (0x1A, 0x1C, 0x7F): not ours.
    for (int b = 0; b < 0x80; ++b) {
        m_single[b] = char16_t(b);
        m_single_valid[b] = true;
    }

    // A lead byte is one that starts at least one valid two-byte character.
    std::vector<char16_t> row(256);
    for (int lead = 0x80; lead < 256; ++lead) {
        bool any = false;
        std::fill(row.begin(), row.end(), char16_t(0));
        for (int trail = 0x40; trail < 256; ++trail) {
            const char bytes[2] = {char(lead), char(trail)};
            const QString s = codec.decode(QByteArrayView(bytes, 2));
            char16_t c = 0;
            if (!codec_gave_one_character(s, c))
                continue;
            if (m_single_valid[lead] && c == m_single[lead])
                continue;   // the codec dropped the trail: not a pair
            row[trail] = c;
            any = true;
        }
        if (any) {
            m_lead_row[lead] = uint8_t(m_pairs.size() / 256);
            m_pairs.insert(m_pairs.end(), row.begin(), row.end());
        }
    }

    // Encodings in byte order: singles, then pairs. A lead byte is still a single
    // character when it stands before a byte that is not its trail.
    for (int b = 0; b < 256; ++b)
        if (m_single_valid[b])
            count(m_single[b], uint16_t(b));
    for (int lead = 0; lead < 256; ++lead)
        for (int trail = 0; trail < 256; ++trail)
            if (const char16_t c = pair(uchar(lead), uchar(trail)))
                count(c, uint16_t(lead << 8 | trail));

    m_never_trail.fill(true);
    for (int lead = 0; lead < 256; ++lead)
        for (int trail = 0; trail < 256; ++trail)
            if (pair(uchar(lead), uchar(trail)))
                m_never_trail[trail] = false;

    m_ascii_identity = true;
    for (int b = 0; b < 0x80; ++b)
        if (!m_single_valid[b] || m_single[b] != b || is_lead(uchar(b)))
            m_ascii_identity = false;
}

const Table &Table::get()
{
    static const Table table;   // built on first use, not at program start
    return table;
}

std::optional<QByteArray> Table::encode(char16_t c) const
{
    if (m_encodings[c] == 0)
        return std::nullopt;
    const uint16_t e = m_first_encoding[c];
    if (e > 0xFF) {
        const char bytes[2] = {char(e >> 8), char(e & 0xFF)};
        return QByteArray(bytes, 2);
    }
    return QByteArray(1, char(e));
}

namespace {

// Decodes [p, end) into `out` (room for end - p units); gives the units written. A lead
// byte at the very end is left for the caller: `*rest` points at it, else at end.
inline char16_t *decode_run(const Table &t, const unsigned char *p, const unsigned char *end,
                            char16_t *out, const unsigned char **rest)
{
    const bool ascii_fast = t.ascii_is_identity();
    while (p < end) {
        if (ascii_fast) {
            // Eight bytes at a time while they are all below 0x80.
            while (end - p >= 8) {
                uint64_t w;
                std::memcpy(&w, p, 8);
                if (w & 0x8080808080808080ULL)
                    break;
                for (int i = 0; i < 8; ++i)
                    out[i] = p[i];
                p += 8;
                out += 8;
            }
            if (p == end)
                break;
            if (*p < 0x80) {
                *out++ = *p++;
                continue;
            }
        }
        const unsigned char b = *p;
        if (t.is_lead(b)) {
            if (p + 1 == end) {
                *rest = p;
                return out;
            }
            if (const char16_t c = t.pair(b, p[1])) {
                *out++ = c;
                p += 2;
                continue;
            }
        }
        *out++ = t.is_single(b) ? t.single(b) : replacement;
        ++p;
    }
    *rest = end;
    return out;
}

}  // namespace

void decode_append(const char *data, qsizetype size, std::u16string &out)
{
    const Table &t = Table::get();
    const size_t old = out.size();
    out.resize(old + size_t(size));
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const unsigned char *rest = nullptr;
    char16_t *end = decode_run(t, p, p + size, out.data() + old, &rest);
    if (rest != p + size)
        *end++ = t.is_single(*rest) ? t.single(*rest) : replacement;
    out.resize(size_t(end - out.data()));
}

QString decode(QByteArrayView bytes)
{
    std::u16string s;
    decode_append(bytes.data(), bytes.size(), s);
    return QString(reinterpret_cast<const QChar *>(s.data()), qsizetype(s.size()));
}

void StreamDecoder::feed(const char *data, qsizetype size, std::u16string &out)
{
    if (size <= 0)
        return;
    const Table &t = Table::get();
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const unsigned char *end = p + size;
    if (m_pending >= 0) {
        const auto lead = uchar(m_pending);
        m_pending = -1;
        if (const char16_t c = t.pair(lead, *p)) {
            out.push_back(c);
            ++p;
        } else {
            out.push_back(t.is_single(lead) ? t.single(lead) : replacement);
        }
    }
    const size_t old = out.size();
    out.resize(old + size_t(end - p));
    const unsigned char *rest = nullptr;
    char16_t *w = decode_run(t, p, end, out.data() + old, &rest);
    if (rest != end)
        m_pending = *rest;
    out.resize(size_t(w - out.data()));
}

void StreamDecoder::finish(std::u16string &out)
{
    if (m_pending >= 0) {
        const Table &t = Table::get();
        const auto lead = uchar(m_pending);
        out.push_back(t.is_single(lead) ? t.single(lead) : replacement);
        m_pending = -1;
    }
}

EncodedPhrase encode_phrase(QStringView phrase)
{
    const Table &t = Table::get();
    EncodedPhrase result;
    result.kind = PhraseBytes::Unique;
    for (const QChar ch : phrase) {
        const char16_t c = ch.unicode();
        if (c == replacement) {
            result.kind = PhraseBytes::Ambiguous;
            continue;
        }
        const int n = t.encodings_of(c);
        if (n == 0)
            return {PhraseBytes::Impossible, {}};
        if (n > 1)
            result.kind = PhraseBytes::Ambiguous;
        else if (result.kind == PhraseBytes::Unique)
            result.bytes += *t.encode(c);
    }
    if (result.kind != PhraseBytes::Unique)
        result.bytes.clear();
    return result;
}

}  // namespace search::cp932
