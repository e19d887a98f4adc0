// compare_texts: two equal texts give exactly the same-text entry; otherwise one entry
// for each position where the characters differ (past the shorter text's end, every
// position differs), in order, each naming that position and those two characters.
#include "compare.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const size_t first_length = in.byte() * 16u + in.byte() % 16u;
    const QString first = in.text(first_length);
    // Often the second text is the first with a few changes, so that most positions agree.
    QString second;
    if (in.byte() % 2 == 0) {
        second = first;
        for (int edits = in.byte() % 4; edits > 0 && in.left() > 2; --edits) {
            const qsizetype at = second.isEmpty() ? 0 : in.byte() % second.size();
            const QString change = in.text(in.byte() % 3);
            second.replace(at, in.byte() % 3, change);
        }
    } else {
        second = in.text(4096);
    }

    const QStringList entries = counter::compare_texts(first, second);

    QStringList streamed;
    counter::compare_texts(first, second, [&](const QString &entry) { streamed.append(entry); });
    fuzz::check(streamed == entries, "the streamed entries are the collected ones");

    if (first == second) {
        fuzz::check(entries == QStringList{QString::fromUtf16(counter::same_text_entry)},
                    "equal texts give exactly the same-text entry");
        return 0;
    }

    QStringList expected;
    qint64 pairs = 0;   // CR LF pairs of the first text up to position i
    const qsizetype longer = std::max(first.size(), second.size());
    for (qsizetype i = 0; i < longer; ++i) {
        if (i < first.size() && i > 0 && first[i] == u'\n' && first[i - 1] == u'\r')
            ++pairs;
        const QStringView c1 = i < first.size() ? QStringView(first).sliced(i, 1) : QStringView();
        const QStringView c2 = i < second.size() ? QStringView(second).sliced(i, 1) : QStringView();
        if (c1 != c2)
            expected.append(counter::make_difference_entry(i + 1 - 2 * pairs, c1, c2));
    }
    fuzz::check(!expected.isEmpty(), "different texts differ somewhere");
    fuzz::check(entries == expected, "one entry per differing position, in order");
    return 0;
}
