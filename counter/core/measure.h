#pragma once
// The counter's engine: nine ways to count (or edit) a text.
#include <QString>
#include <functional>
#include <optional>

namespace counter {

// The counting modes, numbered as the window's variable flagt holds them.
enum class Mode { Space = 0, Trim = 1, NoSpace = 2, NotChosen = 3, CountChosen = 4,
                  DeleteSpace = 5, DeleteChosen = 6, KeepChosen = 7, Bytes = 8 };

struct Measurement {
    qint64 result = 0;
    std::optional<QString> new_text;   // set by the modes that edit the text (5, 6, 7)
    QString unit;                      // "個の文字列です", or "バイトです" in mode 8
};

// The number of CR LF pairs of `text`.
qint64 count_line_breaks(QStringView text);

// Counts `text` (UTF-16 code units as characters, CR LF the line break, U+0020 and
// U+3000 the blanks) under `mode`. Occurrences of `chosen` are found left to right
// without overlap; an empty chosen string has no occurrences, so modes 6 and 7 then give
// the text back as it was. L is always that of `text` as given, also where the new text
// has lost or gained a CR LF pair.
Measurement measure_text(const QString &text, Mode mode, const QString &chosen);

// The same pass, asking `keep_going` after every few thousand characters: that is where
// the window lets pending events run. When it answers false the pass stops at once and
// gives no measurement. The pass holds its own reference to `text` and `chosen`, so the
// caller may reassign its variables while events run without disturbing the count.
std::optional<Measurement> measure_text(const QString &text, Mode mode, const QString &chosen,
                                        const std::function<bool()> &keep_going);

}  // namespace counter
