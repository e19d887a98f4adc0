#include "hit_entry.h"

#include <limits>

namespace search {

QString make_hit_entry(const QString &name, qint64 line)
{
    return name + QLatin1Char(' ') + QString::number(line) + QString::fromUtf16(hit_entry_suffix);
}

std::optional<HitEntryParts> parse_hit_entry(QStringView entry)
{
    const QStringView suffix(hit_entry_suffix);
    if (!entry.endsWith(suffix))
        return std::nullopt;
    const QStringView rest = entry.chopped(suffix.size());
    qsizetype first_digit = rest.size();
    while (first_digit > 0 && rest[first_digit - 1] >= u'0' && rest[first_digit - 1] <= u'9')
        --first_digit;
    if (first_digit == rest.size() || first_digit == 0 || rest[first_digit - 1] != u' ')
        return std::nullopt;

    qint64 line = 0;
    constexpr qint64 max = std::numeric_limits<qint64>::max();
    for (qsizetype i = first_digit; i < rest.size(); ++i) {
        const int digit = rest[i].unicode() - u'0';
        if (line > (max - digit) / 10)
            return std::nullopt;   // no line number that a file can reach
        line = line * 10 + digit;
    }
    return HitEntryParts{rest.first(first_digit - 1).toString(), line};
}

}  // namespace search
