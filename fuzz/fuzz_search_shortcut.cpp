// The search's byte shortcut against the plain path that decodes every line: on any
// bytes, with any phrase and any buffer size, both give the same hits and count the same
// lines, or the run stops here.
#include "cp932.h"
#include "fuzz_file.h"
#include "fuzz_input.h"
#include "search.h"

#include <QList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static fuzz::ScratchFile scratch;
    fuzz::Input in(data, size);
    // Small buffers put line ends, characters and the phrase across buffer edges.
    const qsizetype buffer = 1 + in.byte() % 64;
    // The phrase: code page 932 bytes decoded (so it is usually text the file can hold),
    // or raw code units (U+FFFD, characters of several encodings, ones of none).
    const uint8_t form = in.byte();
    const qsizetype length = 1 + form % 8;
    const QString phrase = form & 0x80 ? in.raw_text(size_t(length))
                                       : search::cp932::decode(in.bytes(size_t(length)));
    if (phrase.isEmpty())
        return 0;
    const QByteArray bytes = in.rest();

    auto run = [&](search::LineTest test, qsizetype buffer_size) {
        search::TextFile file = scratch.write_and_open(bytes);
        QList<qint64> hits;
        const auto result = search::search_text_file(file, phrase, [&](qint64 line) { hits.append(line); },
                                                     {test, buffer_size});
        return std::pair{hits, result};
    };
    const auto [plain_hits, plain] = run(search::LineTest::DecodeEveryLine, 0);
    const auto [short_hits, shortcut] = run(search::LineTest::Shortcut, buffer);
    const auto [usual_hits, usual] = run(search::LineTest::Shortcut, 0);

    fuzz::check(short_hits == plain_hits, "the shortcut with a small buffer finds the plain path's hits");
    fuzz::check(usual_hits == plain_hits, "the shortcut finds the plain path's hits");
    fuzz::check(shortcut.lines == plain.lines && usual.lines == plain.lines, "both count the same lines");
    fuzz::check(shortcut.not_found == plain.not_found && usual.not_found == plain.not_found,
                "both raise the not-found signal alike");
    fuzz::check(!plain.read_error && !shortcut.read_error, "a scratch file reads without error");
    return 0;
}
