// The line reader with code page 932 decoding, through buffers of any small size: the
// lines are the bytes split at CR LF, each decoded whole, the same as decoding the line
// in one go; a cut line gives the front of that; skipping and walking agree with reading.
// Where Qt's own Shift_JIS codec finds nothing wrong with a line, both decode it alike.
#include "cp932.h"
#include "fuzz_file.h"
#include "fuzz_input.h"
#include "line_reader.h"

#include <QList>
#include <QStringDecoder>

namespace {

// The lines of `bytes`: split at each CR LF, the last one without it if not empty.
QList<QByteArray> split_lines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == '\r' && bytes[i + 1] == '\n') {
            lines.append(bytes.mid(start, i - start));
            start = i + 2;
            ++i;
        }
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static fuzz::ScratchFile scratch;
    fuzz::Input in(data, size);
    const qsizetype buffer = 1 + in.byte() % 48;
    const qsizetype max_chars = 1 + in.byte() % 8;
    const uint8_t steps = in.byte();             // per line: read, read cut, skip or walk
    const QByteArray bytes = in.rest();
    const QList<QByteArray> expected = split_lines(bytes);

    search::TextFile file = scratch.write_and_open(bytes);
    search::LineReader reader(file, buffer);
    for (qsizetype i = 0; i <= expected.size(); ++i) {
        const bool more = i < expected.size();
        const QString whole = more ? search::cp932::decode(expected.at(i)) : QString();
        switch ((steps >> (2 * (i % 4))) & 3) {
        case 0:
            fuzz::check(reader.next_line() == more, "next_line ends with the lines");
            if (more) {
                fuzz::check(reader.line() == whole, "a line decodes as its bytes in one go");
                fuzz::check(!reader.line_cut(), "a whole line is not cut");
            }
            break;
        case 1:
            fuzz::check(reader.next_line(max_chars) == more, "a cut read ends with the lines");
            if (more) {
                fuzz::check(reader.line() == QStringView(whole).left(max_chars), "a cut line is the front");
                fuzz::check(reader.line_cut() == (whole.size() > max_chars), "a line is cut only when longer");
            }
            break;
        case 2:
            fuzz::check(reader.skip_line() == more, "skip_line ends with the lines");
            break;
        case 3: {
            QByteArray walked;
            const bool got = reader.walk_line([&](const char *piece, qsizetype n) { walked.append(piece, n); });
            fuzz::check(got == more, "walk_line ends with the lines");
            if (more)
                fuzz::check(walked == expected.at(i), "walk_line hands out the line's bytes");
            break;
        }
        }
        if (!more)
            break;
    }
    fuzz::check(!reader.failed(), "a scratch file reads without error");

    // Against Qt's codec, line by line, where that codec reports nothing invalid.
    static QStringDecoder qt("Shift_JIS", QStringConverter::Flag::Stateless);
    fuzz::check(qt.isValid(), "Qt has a Shift_JIS codec");
    for (const QByteArray &line : expected) {
        const QString theirs = qt.decode(line);
        if (!qt.hasError() && !theirs.contains(QChar(u'\uFFFD')))
            fuzz::check(search::cp932::decode(line) == theirs, "valid Shift_JIS decodes as Qt's codec does");
        qt.resetState();
    }
    return 0;
}
