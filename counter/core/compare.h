#pragma once
// The positional comparison of two texts.
#include <QString>
#include <QStringList>
#include <functional>

namespace counter {

inline constexpr char16_t same_text_entry[] = u"同じ文字列です。";

// The difference entry: "<p> 文字目の <c1> と <c2> が違います。", c1 or c2 empty
// where that text is shorter.
QString make_difference_entry(qint64 position, QStringView first_char, QStringView second_char);

// Compares position by position up to the end of the longer text; each differing
// position gives an entry, numbered p = i - 2*l (l the CR LF pairs of the first text
// up to i; past the first text's end, all of its pairs). `on_entry` receives each entry
// as it is found, the same-text entry last when the texts are equal.
void compare_texts(QStringView first, QStringView second,
                   const std::function<void(const QString &entry)> &on_entry);

// The same pass, asking `keep_going` after every few thousand positions: that is where
// the window lets pending events run. When it answers false the pass stops at once and
// gives false; true when it ran to its end. Both texts must stay alive and unchanged
// until it returns, also while events run.
bool compare_texts(QStringView first, QStringView second,
                   const std::function<void(const QString &entry)> &on_entry,
                   const std::function<bool()> &keep_going);

// The same, collected.
QStringList compare_texts(QStringView first, QStringView second);

}  // namespace counter
