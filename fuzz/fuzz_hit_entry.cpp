// parse_hit_entry against make_hit_entry: every entry that make_hit_entry builds reads
// back to the very name and line it was given; any other text parses to nothing or to
// parts that rebuild to an entry which parses the same way again.
#include "fuzz_input.h"
#include "hit_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    // Line numbers are counted from 1 and never wrap; 0 and the largest still print as digits.
    const qint64 line = qint64(in.u64() & 0x7fffffffffffffffULL);
    const QString name = in.text(4096);

    const QString entry = search::make_hit_entry(name, line);
    const auto parts = search::parse_hit_entry(entry);
    fuzz::check(parts.has_value(), "a built entry parses");
    fuzz::check(parts->name == name, "the name comes back unchanged");
    fuzz::check(parts->line == line, "the line comes back unchanged");

    // The same bytes read as a text of any form.
    for (const QString &garbage : {QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)),
                                   entry.left(entry.size() / 2) + name, name}) {
        const auto other = search::parse_hit_entry(garbage);
        if (!other)
            continue;
        fuzz::check(other->line >= 0, "a parsed line is not negative");
        fuzz::check(garbage.endsWith(QStringView(search::hit_entry_suffix)), "a parsed entry ends in the suffix");
        const auto again = search::parse_hit_entry(search::make_hit_entry(other->name, other->line));
        fuzz::check(again && again->name == other->name && again->line == other->line,
                    "parsed parts rebuild to an entry that parses the same");
    }
    return 0;
}
