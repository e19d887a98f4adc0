#pragma once
#include <QString>

namespace counter {

enum class CaseDirection { ToUpper, ToLower };

// Converts the letters of `text` to one case by Unicode's simple one-to-one mapping, so
// the length never changes; everything without case (kana, kanji, digits, blanks,
// line breaks, surrogate pairs) is left as it is.
QString convert_case(const QString &text, CaseDirection direction);

}  // namespace counter
