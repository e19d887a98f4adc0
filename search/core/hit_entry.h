#pragma once
// A hit entry: "memo.txt 12 行目に見つかりました". It holds no folder.
#include <QString>
#include <QStringView>
#include <optional>

namespace search {

inline constexpr char16_t hit_entry_suffix[] = u" 行目に見つかりました";

// The name, one blank, the line number in decimal digits, and the suffix.
QString make_hit_entry(const QString &name, qint64 line);

struct HitEntryParts {
    QString name;
    qint64 line = 0;
};

// Reads an entry back from its end: the suffix, the longest run of digits before it,
// the blank before those, and everything before that blank as the name. Gives back
// exactly what make_hit_entry was given, for every name; nothing for a text of
// another form (or a number that does not fit 64 bits).
std::optional<HitEntryParts> parse_hit_entry(QStringView entry);

}  // namespace search
