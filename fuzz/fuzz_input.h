#pragma once
// Turns a fuzzer's bytes into the values a target needs. Texts come in two forms: raw
// UTF-16 code units (lone surrogates and all), and units picked from a small alphabet
// that makes line breaks, blanks and repeats common enough to matter.
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <iterator>

namespace fuzz {

class Input {
public:
    Input(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    size_t left() const { return m_size - m_pos; }

    uint8_t byte()
    {
        return m_pos < m_size ? m_data[m_pos++] : 0;
    }

    uint64_t u64()
    {
        uint64_t value = 0;
        for (int i = 0; i < 8; ++i)
            value = (value << 8) | byte();
        return value;
    }

    // Up to `count` bytes, fewer at the end of the input.
    QByteArray bytes(size_t count)
    {
        count = std::min(count, left());
        QByteArray out(reinterpret_cast<const char *>(m_data + m_pos), qsizetype(count));
        m_pos += count;
        return out;
    }

    QByteArray rest() { return bytes(left()); }

    // Up to `count` code units, each from two bytes as they come.
    QString raw_text(size_t count)
    {
        QString out;
        while (count-- > 0 && left() >= 2) {
            const uint8_t high = byte();
            out.append(QChar(char16_t(high << 8 | byte())));
        }
        return out;
    }

    // Up to `count` characters, each byte picking one from the alphabet below.
    QString alphabet_text(size_t count)
    {
        static constexpr char16_t alphabet[] = {
            u'a', u'b', u'A', u' ', u'\u3000', u'\r', u'\n', u'\r',
            u'\n', u'あ', u'ア', u'\uFF71', u'\t', u'\xD83D', u'\xDE00', u'\uFFFD',
        };
        QString out;
        while (count-- > 0 && left() > 0)
            out.append(QChar(alphabet[byte() % std::size(alphabet)]));
        return out;
    }

    // A text in one of the two forms, chosen by the input, of up to `count` units.
    QString text(size_t count)
    {
        return byte() % 4 == 0 ? raw_text(count) : alphabet_text(count);
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Stops the run with a message; libFuzzer keeps the input that got here.
[[noreturn]] inline void fail(const char *what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

inline void check(bool holds, const char *what)
{
    if (!holds)
        fail(what);
}

}  // namespace fuzz
