#include "convert_case.h"

#include <QChar>
#include <array>

namespace counter {

namespace {

using CaseTable = std::array<char16_t, 0x10000>;

// Every code unit's image under one direction, built once: Unicode's simple one-to-one
// mapping (ß stays ß rather than becoming SS). A surrogate code unit has no case, so a
// conversion keeps the length and leaves surrogate pairs as they are.
CaseTable make_table(CaseDirection direction)
{
    CaseTable table{};
    for (char32_t c = 0; c < 0x10000; ++c) {
        const char32_t mapped = direction == CaseDirection::ToUpper ? QChar::toUpper(c)
                                                                    : QChar::toLower(c);
        // No letter of the basic plane maps outside it; should one ever, it stays.
        table[c] = char16_t(mapped <= 0xFFFF ? mapped : c);
    }
    // QChar leaves a letter as it is when its full mapping takes more than one unit, also
    // where the simple mapping has a one-unit image. These are all such letters of the
    // basic plane (Unicode 14): the dotted capital I and the Greek letters with iota
    // subscript, which the simple mapping takes to their title-case forms.
    if (direction == CaseDirection::ToLower) {
        table[0x0130] = u'i';
    } else {
        for (char16_t base : {u'\u1F80', u'\u1F90', u'\u1FA0'}) {
            for (char16_t k = 0; k < 8; ++k)
                table[base + k] = char16_t(base + 8 + k);
        }
        table[0x1FB3] = u'\u1FBC';
        table[0x1FC3] = u'\u1FCC';
        table[0x1FF3] = u'\u1FFC';
    }
    return table;
}

const CaseTable &table_for(CaseDirection direction)
{
    static const CaseTable upper = make_table(CaseDirection::ToUpper);
    static const CaseTable lower = make_table(CaseDirection::ToLower);
    return direction == CaseDirection::ToUpper ? upper : lower;
}

}  // namespace

QString convert_case(const QString &text, CaseDirection direction)
{
    const CaseTable &table = table_for(direction);
    QString converted(text.size(), Qt::Uninitialized);
    const char16_t *in = reinterpret_cast<const char16_t *>(text.constData());
    char16_t *out = reinterpret_cast<char16_t *>(converted.data());
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = table[in[i]];
    return converted;
}

}  // namespace counter
