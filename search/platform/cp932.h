#pragma once
// Code page 932 (the Japanese system code page) to UTF-16, and back for the search's
// byte shortcut.
//
// The table is taken once, on first use, from Qt's "Shift_JIS" codec, which maps the NEC
// and IBM extension rows as code page 932 does. Decoding itself is our own: a byte that
// is not part of a valid character becomes U+FFFD, one per byte, and never stops a read.
// At each position a valid lead/trail pair is one character; otherwise a byte that is a
// character on its own is that character; otherwise it is U+FFFD.
#include <QByteArray>
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace search::cp932 {

inline constexpr char16_t replacement = u'\uFFFD';

class Table {
public:
    // The one table of the process, built on first use (thread-safe).
    static const Table &get();

    // The character of a single byte, or 0 when the byte is no character on its own.
    // (Byte 0x00 is U+0000, so use is_single to tell it apart.)
    char16_t single(unsigned char b) const { return m_single[b]; }
    bool is_single(unsigned char b) const { return m_single_valid[b]; }
    bool is_lead(unsigned char b) const { return m_lead_row[b] != 0xFF; }

    // The character of a lead/trail pair, or 0 when the pair is no character.
    char16_t pair(unsigned char lead, unsigned char trail) const
    {
        const unsigned row = m_lead_row[lead];
        return row == 0xFF ? char16_t(0) : m_pairs[row * 256 + trail];
    }

    // A byte that is the trail of no pair always starts a character: the decoder never
    // takes it as the second byte of one. Code page 932 has no other resynchronisation.
    bool never_trail(unsigned char b) const { return m_never_trail[b]; }

    // Bytes 0x00..0x7F decode to U+0000..U+007F (then ASCII runs take a fast path).
    bool ascii_is_identity() const { return m_ascii_identity; }

    // How many byte sequences decode to `c`: 0, 1 or more (capped at 2).
    int encodings_of(char16_t c) const { return m_encodings[c]; }

    // The byte sequence that decodes to `c` (the first in byte order), or nothing.
    std::optional<QByteArray> encode(char16_t c) const;

private:
    Table();
    std::array<char16_t, 256> m_single{};
    std::array<bool, 256> m_single_valid{};
    std::array<bool, 256> m_never_trail{};
    std::array<uint8_t, 256> m_lead_row{};     // row of m_pairs for a lead byte, 0xFF if none
    std::vector<char16_t> m_pairs;             // 256 trails per lead row; 0 = not a character
    std::vector<uint8_t> m_encodings;          // per UTF-16 unit: number of encodings, capped at 2
    std::vector<uint16_t> m_first_encoding;    // per UTF-16 unit: its first byte sequence (1 or 2 bytes)
    bool m_ascii_identity = false;
};

// Decodes `size` bytes that start on a character boundary and end where a character
// ends (a line's bytes), appending to `out`. A lead byte at the very end is U+FFFD.
void decode_append(const char *data, qsizetype size, std::u16string &out);
QString decode(QByteArrayView bytes);

// Decodes a byte stream given in pieces that may split a character. Holds at most one
// pending lead byte between pieces; finish() flushes it as U+FFFD.
class StreamDecoder {
public:
    void feed(const char *data, qsizetype size, std::u16string &out);
    void finish(std::u16string &out);
    void reset() { m_pending = -1; }

private:
    int m_pending = -1;   // a lead byte waiting for its trail, or -1
};

// The bytes of `text` when every character of it has exactly one encoding and none is
// U+FFFD: then a decoded line holds `text` only where its bytes hold these bytes.
enum class PhraseBytes { Unique, Ambiguous, Impossible };
struct EncodedPhrase {
    PhraseBytes kind = PhraseBytes::Impossible;
    QByteArray bytes;   // set when kind is Unique
};
// Unique: every character has exactly one encoding, none is U+FFFD.
// Impossible: some character has no encoding and is not U+FFFD (no line can hold it).
// Ambiguous: otherwise (a character with several encodings, or U+FFFD).
EncodedPhrase encode_phrase(QStringView phrase);

}  // namespace search::cp932
