#include "page_view.h"

#include "file_path.h"
#include "hit_entry.h"
#include "line_reader.h"
#include "text_file.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace search {

namespace {

// The view box lays out about a microsecond per character: a longer line is cut for the
// view, and the mark says that it goes on.
constexpr qsizetype view_line_limit = 32768;
constexpr char16_t cut_mark[] = u" \u2026";

bool is_digit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

}  // namespace

QString page_path(int flglist, const QString &folder, const QString &file_name,
                  const QString &hit_entry)
{
    if (flglist == 1) {
        const std::optional<HitEntryParts> parts = parse_hit_entry(hit_entry);
        return join_path(folder, parts ? parts->name : QString());
    }
    return join_path(folder, file_name);
}

PageWindow read_window(const DriveMap &drives, const QString &path, double from, double to,
                       double stop)
{
    PageWindow window;
    std::optional<TextFile> file = TextFile::open(drives, path);
    if (!file)
        return window;
    LineReader reader(*file);
    // The lines before the first shown one are only counted, in bulk; the read still
    // ends at the stop line when that comes first.
    const double first_shown = std::ceil(from);
    qint64 skip = 0;
    if (first_shown > 1)
        skip = first_shown - 1 >= 9.2e18 ? std::numeric_limits<qint64>::max() : qint64(first_shown - 1);
    if (stop >= 1 && stop == std::floor(stop) && stop < double(skip))
        skip = qint64(stop);
    window.count = reader.skip_lines(skip);
    if (window.count < skip || (window.count > 0 && double(window.count) == stop))
        return window;   // the file ended, or the stop line was among those skipped
    for (;;) {
        const double next = double(window.count + 1);
        if (from <= next && next < to) {
            if (!reader.next_line(view_line_limit))
                break;
            window.text += reader.line();
            if (reader.line_cut())
                window.text += QStringView(cut_mark);
            window.text += QLatin1String("\r\n");
        } else if (!reader.skip_line()) {   // counted, never decoded
            break;
        }
        ++window.count;
        if (double(window.count) == stop)
            break;
    }
    return window;
}

std::optional<double> caption_value(const QString &caption)
{
    // The forms format_number writes: "-" when negative, digits, a fraction after ".".
    const qsizetype n = caption.size();
    qsizetype i = 0;
    if (i < n && caption[i] == u'-')
        ++i;
    const qsizetype int_start = i;
    while (i < n && is_digit(caption[i]))
        ++i;
    if (i == int_start)
        return std::nullopt;
    if (i < n && caption[i] == u'.') {
        const qsizetype frac_start = ++i;
        while (i < n && is_digit(caption[i]))
            ++i;
        if (i == frac_start)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    const QByteArray ascii = caption.toLatin1();
    double value = 0;
    const auto [end, ec] = std::from_chars(ascii.constData(), ascii.constData() + ascii.size(), value);
    if (ec != std::errc() || end != ascii.constData() + ascii.size())
        return std::nullopt;
    return value;
}

std::optional<double> top_line(const QString &caption)
{
    const std::optional<double> value = caption_value(caption);
    if (!value)
        return std::nullopt;
    return std::floor(*value);
}

double leading_number(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    std::string number;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            number += '-';
        ++i;
    }
    qsizetype digits = 0;
    bool nonzero = false;
    qint64 point_shift = 0;   // the decimal exponent of the first non-zero digit, roughly
    bool seen_nonzero = false;
    while (i < n && is_digit(text[i])) {
        number += char(text[i].unicode());
        if (text[i] != u'0')
            nonzero = seen_nonzero = true;
        if (seen_nonzero)
            ++point_shift;
        ++digits;
        ++i;
    }
    if (i < n && text[i] == u'.') {
        number += '.';
        ++i;
        while (i < n && is_digit(text[i])) {
            number += char(text[i].unicode());
            if (text[i] != u'0')
                nonzero = seen_nonzero = true;
            if (!seen_nonzero)
                --point_shift;
            ++digits;
            ++i;
        }
    }
    if (digits == 0)
        return 0;
    // An exponent counts only with at least one digit after "e" and its sign.
    qint64 exponent = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        bool negative = false;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            negative = text[j++] == u'-';
        if (j < n && is_digit(text[j])) {
            while (j < n && is_digit(text[j])) {
                if (exponent < 100000000)
                    exponent = exponent * 10 + (text[j].unicode() - u'0');
                ++j;
            }
            if (negative)
                exponent = -exponent;
            number += 'e';
            number += std::to_string(exponent);
        }
    }
    if (!nonzero)
        return 0;
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Beyond the range of a double: the largest finite one of its sign, or zero.
        const bool too_big = point_shift + exponent > 0;
        const double magnitude = too_big ? std::numeric_limits<double>::max() : 0.0;
        return number.front() == '-' && too_big ? -magnitude : magnitude;
    }
    if (ec != std::errc())
        return 0;
    return value == 0 ? 0.0 : value;   // never -0
}

QString format_number(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == 0)
        return QStringLiteral("0");
    // The fewest significant digits that read back as the same double, written out in
    // plain decimal: 1e23 is 100000000000000000000000, not the double's exact expansion.
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                         std::chars_format::scientific);
    if (ec != std::errc())
        return QString();
    const std::string_view sci(buffer, size_t(end - buffer));   // "d.ddde+XX"
    const size_t e = sci.find('e');
    std::string digits;
    for (const char c : sci.substr(0, e))
        if (c != '.')
            digits += c;
    const int exponent = std::stoi(std::string(sci.substr(e + 1)));
    // The decimal point stands after digit number exponent + 1.
    const long point = long(exponent) + 1;
    std::string text = value < 0 ? "-" : "";
    if (point <= 0) {
        text += "0.";
        text.append(size_t(-point), '0');
        text += digits;
    } else if (size_t(point) >= digits.size()) {
        text += digits;
        text.append(size_t(point) - digits.size(), '0');
    } else {
        text += digits.substr(0, size_t(point));
        text += '.';
        text += digits.substr(size_t(point));
    }
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

std::optional<Selection> find_phrase(const QString &view_text, const QString &phrase)
{
    if (view_text.isEmpty() || phrase.isEmpty())
        return std::nullopt;
    const qsizetype at = view_text.indexOf(phrase, 0, Qt::CaseSensitive);
    if (at < 0)
        return std::nullopt;
    return Selection{at, phrase.size()};
}

std::optional<Jump> jump_to_hit(const DriveMap &drives, const QString &folder,
                                const QString &entry, const QString &phrase)
{
    const std::optional<HitEntryParts> parts = parse_hit_entry(entry);
    if (!parts)
        return std::nullopt;
    Jump jump;
    jump.line = parts->line;
    const double k = double(parts->line);
    jump.view_text = read_window(drives, join_path(folder, parts->name), k, k + 10, k + 10).text;
    jump.selection = find_phrase(jump.view_text, phrase);
    return jump;
}

}  // namespace search
